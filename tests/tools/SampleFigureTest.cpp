#include "SampleFigure.h"
#include "FigureSkeleton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

using namespace samplemodel;

namespace {

const SampleModel& figure() {
    static const SampleModel model = makeSampleFigure();
    return model;
}

Vec3 toVec3(const std::array<float, 3>& v) {
    return {v[0], v[1], v[2]};
}

std::vector<int16_t> parents(const SampleModel& model) {
    std::vector<int16_t> result;
    for (const samplemodel::SkmBoneDesc& bone : model.skm.bones) {
        result.push_back(bone.parent);
    }
    return result;
}

std::vector<Transform> bindPose(const SampleModel& model) {
    std::vector<Transform> local;
    for (const samplemodel::SkaBoneDesc& bone : model.ska.bones) {
        const auto& q = bone.bindRotationXyzw;
        local.push_back({toVec3(bone.bindPosition), {q[3], q[0], q[1], q[2]}});
    }
    return local;
}

const samplemodel::SkaStreamDesc& streamOf(const std::string& animation) {
    for (const samplemodel::SkaAnimationDesc& clip : figure().ska.animations) {
        if (clip.name == animation) {
            return clip.streams.at(0);
        }
    }
    throw std::out_of_range("no animation " + animation);
}

std::vector<Vec3> jointPositions(const std::vector<Transform>& local) {
    std::vector<Vec3> joints;
    for (const Transform& model : toModelSpace(parents(figure()), local)) {
        joints.push_back(model.position);
    }
    return joints;
}

std::vector<Vec3> bindJoints() {
    return jointPositions(bindPose(figure()));
}

// Joint positions at one frame, decoding the stored keys the way the converter does: keyed
// rotations and translations replace the bone's local binding values.
std::vector<Vec3> jointsAt(const std::string& animation, int frame) {
    std::vector<Transform> local = bindPose(figure());
    const samplemodel::SkaStreamDesc& stream = streamOf(animation);
    for (const samplemodel::SkaBoneKeyDesc& key : stream.frames.at(frame).keys) {
        const auto& q = key.rotationXyzw;
        local[key.bone].rotation = {q[3] / 32767.0, q[0] / 32767.0, q[1] / 32767.0, q[2] / 32767.0};
        if (key.hasTranslation) {
            const auto& t = key.translation;
            local[key.bone].position =
                Vec3{double(t[0]), double(t[1]), double(t[2])} * stream.translationFactor;
        }
    }
    return jointPositions(local);
}

double distance(Vec3 a, Vec3 b) {
    return std::sqrt(dot(a - b, a - b));
}

} // namespace

TEST(SampleFigureSkeleton, NamedUniquelyAndParentsComeFirst) {
    const auto& bones = figure().skm.bones;
    ASSERT_GE(bones.size(), 12u);
    ASSERT_EQ(figure().ska.bones.size(), bones.size());
    std::set<std::string> names;
    for (size_t i = 0; i < bones.size(); ++i) {
        EXPECT_TRUE(names.insert(bones[i].name).second) << bones[i].name;
        EXPECT_LT(bones[i].parent, static_cast<int>(i)) << bones[i].name;
        EXPECT_EQ(figure().ska.bones[i].name, bones[i].name);
    }
    EXPECT_EQ(std::count_if(bones.begin(), bones.end(), [](auto& b) { return b.parent < 0; }), 1);
}

// Keyframe rotations are taken relative to the binding rotation, so some must not be identity.
TEST(SampleFigureSkeleton, SomeBindingRotationsAreNotIdentity) {
    const auto& bones = figure().ska.bones;
    EXPECT_TRUE(std::any_of(bones.begin(), bones.end(),
                            [](auto& b) { return std::abs(b.bindRotationXyzw[3]) < 0.99f; }));
}

TEST(SampleFigureMesh, FacesReachOnlyExistingVerticesAndMaterials) {
    const samplemodel::SkmDesc& skm = figure().skm;
    ASSERT_GE(skm.materialPaths.size(), 2u);
    std::set<uint16_t> usedMaterials;
    for (const samplemodel::SkmFaceDesc& face : skm.faces) {
        usedMaterials.insert(face.materialIndex);
        for (uint16_t index : face.vertexIndex) {
            ASSERT_LT(index, skm.vertices.size());
        }
    }
    EXPECT_EQ(usedMaterials.size(), skm.materialPaths.size());
}

TEST(SampleFigureMesh, WeightsNameRealBonesAndSumToOne) {
    for (const samplemodel::SkmVertexDesc& vertex : figure().skm.vertices) {
        ASSERT_GE(vertex.weightCount, 1);
        ASSERT_LE(vertex.weightCount, 2);
        double sum = 0;
        for (int k = 0; k < vertex.weightCount; ++k) {
            EXPECT_LT(vertex.boneIndex[k], figure().skm.bones.size());
            sum += vertex.boneWeight[k];
        }
        EXPECT_NEAR(sum, 1.0, 1e-6);
    }
}

// A closed surface wound counter-clockwise from outside encloses a positive volume, and each
// corner's normal leans the same way as its face.
TEST(SampleFigureMesh, SurfaceIsWoundOutwardsWithMatchingNormals) {
    const auto& vertices = figure().skm.vertices;
    double volume = 0;
    for (const samplemodel::SkmFaceDesc& face : figure().skm.faces) {
        const Vec3 a = toVec3(vertices[face.vertexIndex[0]].position);
        const Vec3 b = toVec3(vertices[face.vertexIndex[1]].position);
        const Vec3 c = toVec3(vertices[face.vertexIndex[2]].position);
        volume += dot(a, cross(b, c)) / 6;
        for (uint16_t index : face.vertexIndex) {
            ASSERT_GT(dot(cross(b - a, c - a), toVec3(vertices[index].normal)), 0);
        }
    }
    EXPECT_GT(volume, 10000);
    for (const samplemodel::SkmVertexDesc& vertex : vertices) {
        EXPECT_NEAR(dot(toVec3(vertex.normal), toVec3(vertex.normal)), 1.0, 1e-5);
    }
}

TEST(SampleFigureMesh, StandsAbout180TallOnTheGroundWithJointsInside) {
    Vec3 low{1e9, 1e9, 1e9};
    Vec3 high{-1e9, -1e9, -1e9};
    for (const samplemodel::SkmVertexDesc& vertex : figure().skm.vertices) {
        const Vec3 p = toVec3(vertex.position);
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    EXPECT_NEAR(low.y, 0, 1);
    EXPECT_NEAR(high.y, 180, 10);
    EXPECT_NEAR(low.x + high.x, 0, 1) << "the figure should be centred on x = 0";
    for (const Vec3& joint : bindJoints()) {
        EXPECT_TRUE(joint.x > low.x && joint.x < high.x && joint.y > low.y && joint.y < high.y &&
                    joint.z > low.z && joint.z < high.z);
    }
}

// Composing the binding transforms must give a standing humanoid, not a scrambled one.
TEST(SampleFigureMesh, BindPoseJointsAreWhereTheBodyIs) {
    const std::vector<Vec3> joints = bindJoints();
    for (const Vec3& joint : joints) {
        EXPECT_LE(joint.y, joints[head].y);
    }
    EXPECT_LT(joints[footLeft].y, 10);
    EXPECT_GT(joints[handLeft].x, joints[shoulderLeft].x);
    EXPECT_LT(joints[handRight].x, joints[shoulderRight].x);
    EXPECT_NEAR(joints[handLeft].y, 88, 12);
    EXPECT_NEAR(joints[handLeft].x, -joints[handRight].x, 1e-4);
}

TEST(SampleFigureAnimations, NamedDistinctlyWithEveryMovedBoneKeyedOnEveryFrame) {
    std::set<std::string> names;
    for (const samplemodel::SkaAnimationDesc& animation : figure().ska.animations) {
        names.insert(animation.name);
        ASSERT_EQ(animation.streams.size(), 1u);
        const samplemodel::SkaStreamDesc& stream = animation.streams[0];
        EXPECT_GT(stream.frameTime, 0);
        ASSERT_EQ(stream.frames.size(), stream.frameCount);
        EXPECT_EQ(stream.boneStates.size(), stream.frames[0].keys.size());
        for (size_t f = 0; f < stream.frames.size(); ++f) {
            ASSERT_EQ(stream.frames[f].keys.size(), stream.frames[0].keys.size());
            for (const samplemodel::SkaBoneKeyDesc& key : stream.frames[f].keys) {
                EXPECT_TRUE(key.hasRotation);
                EXPECT_EQ(key.rotationFrame, static_cast<int>(f)) << animation.name;
            }
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"idle", "walk", "wave"}));
}

// Keys hold absolute local rotations: with the arm still down, a key equals the binding.
TEST(SampleFigureAnimations, KeysAtRestRepeatTheBindingRotation) {
    const samplemodel::SkaStreamDesc& wave = streamOf("wave");
    for (const samplemodel::SkaBoneKeyDesc& key : wave.frames.at(0).keys) {
        const auto& bind = figure().ska.bones.at(key.bone).bindRotationXyzw;
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(key.rotationXyzw[c] / 32767.0, bind[c], 1e-4);
        }
    }
}

TEST(SampleFigureAnimations, IdleStaysCloseToTheBindPose) {
    const std::vector<Vec3> rest = bindJoints();
    for (int frame = 0; frame < 60; frame += 5) {
        const std::vector<Vec3> joints = jointsAt("idle", frame);
        for (size_t bone = 0; bone < joints.size(); ++bone) {
            EXPECT_LT(distance(joints[bone], rest[bone]), 6) << "bone " << bone;
        }
    }
}

TEST(SampleFigureAnimations, WalkSwingsTheLegsInTurnAndLoops) {
    double frontmost = -1e9;
    double backmost = 1e9;
    for (int frame = 0; frame < 30; ++frame) {
        const std::vector<Vec3> joints = jointsAt("walk", frame);
        frontmost = std::max(frontmost, joints[footLeft].z);
        backmost = std::min(backmost, joints[footLeft].z);
        EXPECT_NEAR(joints[shinLeft].z, -joints[shinRight].z, 1) << "knees in step at " << frame;
    }
    EXPECT_GT(frontmost, 20);
    EXPECT_LT(backmost, -20);
    EXPECT_LT(distance(jointsAt("walk", 29)[footLeft], jointsAt("walk", 0)[footLeft]), 10);
}

TEST(SampleFigureAnimations, WaveRaisesTheRightHandAboveTheHead) {
    const std::vector<Vec3> rest = bindJoints();
    const std::vector<Vec3> waving = jointsAt("wave", 30);
    EXPECT_GT(waving[handRight].y, rest[head].y + 20);
    EXPECT_LT(distance(waving[handLeft], rest[handLeft]), 1e-3);
}

TEST(SampleFigureFiles, WritesEveryFileTheModelNames) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "sample_figure_test";
    std::filesystem::create_directories(directory);
    writeSampleModel(figure(), directory.string());

    EXPECT_TRUE(std::filesystem::exists(directory / "figure.skm"));
    EXPECT_TRUE(std::filesystem::exists(directory / "figure.ska"));
    for (const std::string& path : figure().skm.materialPaths) {
        const std::string mdfName = std::filesystem::path(path).filename().string();
        EXPECT_EQ(path.rfind("art/", 0), 0u) << path;
        std::ifstream mdf(directory / mdfName);
        std::string first;
        std::string texture;
        ASSERT_TRUE(std::getline(mdf, first) && std::getline(mdf, texture)) << mdfName;
        const std::string textureName =
            std::filesystem::path(texture.substr(9, texture.size() - 10)).filename().string();
        EXPECT_EQ(std::filesystem::file_size(directory / textureName), 18u + 64 * 64 * 4);
    }
    std::filesystem::remove_all(directory);
}
