// The sample figure's .glb, written from the objects a conversion builds, against the .mesh and
// .skeleton the real converter writes of the same model, read back through the engine.
#include "GlbReader.h"
#include "GltfPose.h"
#include "InProcessModel.h"
#include "Resources.h"
#include "SampleFigure.h"
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"

#include <OgreAnimation.h>
#include <OgreAnimationState.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>
#include <OgrePass.h>
#include <OgreSubMesh.h>
#include <OgreTechnique.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <set>

namespace {

// The sample figure's files written into a folder, with an empty folder "out" beside them, and
// the engine objects built from them.
InProcessModel sampleFigureIn(const TemporaryDirectory& work) {
    std::filesystem::create_directory(work / "model");
    std::filesystem::create_directory(work / "out");
    writeSampleModel(makeSampleFigure(), work / "model");
    return buildModel(work / "model", "figure");
}

// The sample figure written as .glb in this process and as .mesh and .skeleton by the converter.
struct SampleRun {
    TemporaryDirectory work;
    ReadBack readBack{work / "readback.log"};
    InProcessModel model = sampleFigureIn(work);
    GlbResult written =
        writeGlb(*model.mesh, *model.skeleton, model.materials, texturesIn(work / "model"));
    Glb glb = parseGlb(written.bytes());
    ConverterRun run = runTarnwick(work.path(), {"model/figure.skm", "out/figure.mesh"});
};

class GlbWriterTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        sample = new SampleRun;
        ASSERT_EQ(sample->run.exitStatus, 0) << sample->run.output;
    }
    static void TearDownTestSuite() { delete sample; }

    static Ogre::SkeletonPtr skeleton() {
        return sample->readBack.skeleton(sample->work / "out/figure.skeleton");
    }
    static Ogre::MeshPtr mesh() { return sample->readBack.mesh(sample->work / "out/figure.mesh"); }
    static const nlohmann::json& json() { return sample->glb.json; }

    static SampleRun* sample;
};

SampleRun* GlbWriterTest::sample = nullptr;

float modelSize(const Ogre::Mesh& mesh) {
    return mesh.getBounds().getSize().length();
}

// The floats of one source of the shared vertex data: position and normal in source 0, the
// texture coordinates in source 1.
std::vector<double> sourceValues(const Ogre::Mesh& mesh, unsigned short source) {
    const auto& buffer = mesh.sharedVertexData->vertexBufferBinding->getBuffer(source);
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* values = static_cast<const float*>(lock.pData);
    return std::vector<double>(values, values + buffer->getSizeInBytes() / sizeof(float));
}

std::vector<double> every(const std::vector<double>& values, std::size_t stride, std::size_t first,
                          std::size_t count) {
    std::vector<double> picked;
    for (std::size_t i = first; i < values.size(); i += stride) {
        picked.insert(picked.end(), values.begin() + i, values.begin() + i + count);
    }
    return picked;
}

std::vector<double> indicesOf(const Ogre::SubMesh& subMesh) {
    const auto& buffer = subMesh.indexData->indexBuffer;
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* values = static_cast<const uint16_t*>(lock.pData);
    return std::vector<double>(values, values + subMesh.indexData->indexCount);
}

TEST_F(GlbWriterTest, SceneHoldsTheSkinnedMeshAndTheRootBonesWithoutWarnings) {
    EXPECT_TRUE(sample->written.warnings.empty()) << sample->written.warnings.front();
    EXPECT_TRUE(sample->written.missingTextures.empty());
    EXPECT_EQ(json()["asset"]["version"], "2.0");
    const nlohmann::json& roots = json()["scenes"][json()["scene"].get<int>()]["nodes"];
    const nlohmann::json& meshNode = json()["nodes"][roots[0].get<int>()];
    EXPECT_EQ(meshNode["mesh"], 0);
    EXPECT_EQ(meshNode["skin"], 0);
    for (const char* transform : {"matrix", "translation", "rotation", "scale"}) {
        EXPECT_FALSE(meshNode.contains(transform)) << transform;
    }
    // The figure has one root bone, the pelvis.
    EXPECT_EQ(roots.size(), 2u);
    EXPECT_EQ(json()["nodes"][roots[1].get<int>()]["name"], "pelvis");
}

TEST_F(GlbWriterTest, JointsAreTheBonesInHandleOrderWithTheirHierarchy) {
    const Ogre::SkeletonPtr bones = skeleton();
    const nlohmann::json& joints = json()["skins"][0]["joints"];
    ASSERT_EQ(joints.size(), bones->getNumBones());
    std::map<int, int> parentOf;
    for (std::size_t node = 0; node < json()["nodes"].size(); ++node) {
        for (const int child : json()["nodes"][node].value("children", std::vector<int>{})) {
            EXPECT_TRUE(parentOf.emplace(child, int(node)).second) << "two parents of " << child;
        }
    }
    for (unsigned short handle = 0; handle < bones->getNumBones(); ++handle) {
        const Ogre::Bone* bone = bones->getBone(handle);
        const int node = joints[handle];
        const nlohmann::json& description = json()["nodes"][node];
        EXPECT_EQ(description["name"], bone->getName());
        const auto* parent = static_cast<const Ogre::Bone*>(bone->getParent());
        if (parent == nullptr) {
            EXPECT_FALSE(parentOf.count(node)) << bone->getName();
        } else {
            EXPECT_EQ(parentOf.at(node), joints[parent->getHandle()].get<int>());
        }
    }
    const std::vector<double> matrices =
        sample->glb.values(json()["skins"][0]["inverseBindMatrices"]);
    ASSERT_EQ(matrices.size(), 16u * bones->getNumBones());
    for (std::size_t m = 0; m < matrices.size(); m += 16) {
        EXPECT_TRUE(matrices[m + 3] == 0 && matrices[m + 7] == 0 && matrices[m + 11] == 0 &&
                    matrices[m + 15] == 1)
            << "matrix " << m / 16;
    }
}

TEST_F(GlbWriterTest, PrimitivesAreTheSubmeshesWithTheirTrianglesAndCorners) {
    const Ogre::MeshPtr ogreMesh = mesh();
    const std::vector<std::string> materials =
        sample->readBack.meshMaterialNames(sample->work / "out/figure.mesh");
    const nlohmann::json& primitives = json()["meshes"][0]["primitives"];
    ASSERT_EQ(primitives.size(), ogreMesh->getNumSubMeshes());
    const std::vector<double> geometry = sourceValues(*ogreMesh, 0);
    const std::vector<double> textureCoordinates = sourceValues(*ogreMesh, 1);
    for (std::size_t s = 0; s < primitives.size(); ++s) {
        const nlohmann::json& primitive = primitives[s];
        EXPECT_EQ(primitive.value("mode", 4), 4);
        EXPECT_EQ(json()["materials"][primitive["material"].get<int>()]["name"], materials[s]);
        EXPECT_EQ(sample->glb.values(primitive["indices"]), indicesOf(*ogreMesh->getSubMesh(s)));

        const nlohmann::json& attributes = primitive["attributes"];
        const std::vector<double> positions = sample->glb.values(attributes["POSITION"]);
        EXPECT_EQ(positions, every(geometry, 6, 0, 3));
        EXPECT_EQ(sample->glb.values(attributes["TEXCOORD_0"]), textureCoordinates);
        const std::vector<double> stored = every(geometry, 6, 3, 3);
        const std::vector<double> normals = sample->glb.values(attributes["NORMAL"]);
        ASSERT_EQ(normals.size(), stored.size());
        for (std::size_t i = 0; i < normals.size(); ++i) {
            EXPECT_NEAR(normals[i], stored[i], 1e-6) << "normal component " << i;
        }
        const nlohmann::json& bounds = json()["accessors"][attributes["POSITION"].get<int>()];
        for (int c = 0; c < 3; ++c) {
            const std::vector<double> axis = every(positions, 3, c, 1);
            EXPECT_EQ(bounds["min"][c], *std::min_element(axis.begin(), axis.end()));
            EXPECT_EQ(bounds["max"][c], *std::max_element(axis.begin(), axis.end()));
        }
    }
}

// OGRE's pose of the skeleton at a time of an animation, as an entity plays it.
void poseEngineSkeleton(Ogre::Skeleton& skeleton, const std::string& animation, float time) {
    Ogre::AnimationStateSet states;
    skeleton._initAnimationState(&states);
    Ogre::AnimationState* state = states.getAnimationState(animation);
    state->setEnabled(true);
    state->setLoop(false);
    state->setTimePosition(time);
    skeleton.setAnimationState(states);
    skeleton._updateTransforms();
}

void expectSameTransform(const Ogre::Affine3& gltf, const Ogre::Affine3& ogre, float size,
                         const std::string& where) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_NEAR(gltf[row][column], ogre[row][column], 1e-4) << where;
        }
        EXPECT_NEAR(gltf[row][3], ogre[row][3], 1e-4 * size) << where;
    }
}

// The largest distance between the vertices as glTF skins them and as the engine does.
float largestSkinningGap(const Glb& glb, const std::vector<Ogre::Affine3>& world,
                         const std::vector<Ogre::Affine3>& engineBones, const Ogre::Mesh& mesh) {
    Ogre::Mesh::VertexBoneAssignmentList assignments = mesh.getBoneAssignments();
    const std::size_t vertexCount = mesh.sharedVertexData->vertexCount;
    const_cast<Ogre::Mesh&>(mesh)._rationaliseBoneAssignments(vertexCount, assignments);
    const nlohmann::json& attributes = glb.json["meshes"][0]["primitives"][0]["attributes"];
    const std::vector<double> positions = glb.values(attributes["POSITION"]);
    const std::vector<double> joints = glb.values(attributes["JOINTS_0"]);
    const std::vector<double> weights = glb.values(attributes["WEIGHTS_0"]);
    const std::vector<Ogre::Affine3> inverseBinds = inverseBindMatrices(glb);
    const nlohmann::json& jointNodes = glb.json["skins"][0]["joints"];
    float largest = 0;
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const Ogre::Vector3 position(positions[3 * v], positions[3 * v + 1], positions[3 * v + 2]);
        Ogre::Vector3 gltf = Ogre::Vector3::ZERO;
        for (std::size_t k = 4 * v; k < 4 * v + 4; ++k) {
            const int joint = static_cast<int>(joints[k]);
            gltf += (world[jointNodes[joint].get<int>()] * inverseBinds[joint]) * position *
                    static_cast<float>(weights[k]);
        }
        Ogre::Vector3 engine = Ogre::Vector3::ZERO;
        const auto range = assignments.equal_range(v);
        for (auto a = range.first; a != range.second; ++a) {
            engine += engineBones[a->second.boneIndex] * position * a->second.weight;
        }
        largest = std::max(largest, gltf.distance(engine));
    }
    return largest;
}

TEST_F(GlbWriterTest, PlaysAsTheEngineAtEveryKeyframeAndAtTheLength) {
    const Ogre::SkeletonPtr bones = skeleton();
    const Ogre::MeshPtr ogreMesh = mesh();
    const float size = modelSize(*ogreMesh);
    ASSERT_EQ(json()["animations"].size(), bones->getNumAnimations());
    for (unsigned short a = 0; a < bones->getNumAnimations(); ++a) {
        const Ogre::Animation* animation = bones->getAnimation(a);
        EXPECT_EQ(json()["animations"][a]["name"], animation->getName());
        std::set<float> times = {animation->getLength()};
        for (const auto& [handle, track] : animation->_getNodeTrackList()) {
            for (unsigned short k = 0; k < track->getNumKeyFrames(); ++k) {
                times.insert(track->getKeyFrame(k)->getTime());
            }
        }
        float betweenKeys = 0;
        for (auto time = times.begin(); time != times.end(); ++time) {
            for (const bool midway : {false, true}) {
                const auto next = std::next(time);
                if (midway && next == times.end()) {
                    continue;
                }
                const float at = midway ? (*time + *next) / 2 : *time;
                const std::string where = animation->getName() + " at " + std::to_string(at);
                poseEngineSkeleton(*bones, animation->getName(), at);
                std::vector<Ogre::Affine3> engineBones(bones->getNumBones());
                bones->_getBoneMatrices(engineBones.data());
                const std::vector<Ogre::Affine3> world =
                    nodeWorldTransforms(sample->glb, animation->getName(), at);
                const float gap = largestSkinningGap(sample->glb, world, engineBones, *ogreMesh);
                if (midway) {
                    betweenKeys = std::max(betweenKeys, gap);
                    continue;
                }
                EXPECT_LT(gap, 1e-4f * size) << where;
                for (unsigned short handle = 0; handle < bones->getNumBones(); ++handle) {
                    expectSameTransform(world[json()["skins"][0]["joints"][handle].get<int>()],
                                        bones->getBone(handle)->_getFullTransform(), size,
                                        where + ", bone " + bones->getBone(handle)->getName());
                }
            }
        }
        // Spherical against normalised linear rotation between the keys.
        EXPECT_LT(betweenKeys, 1e-2f * size) << animation->getName();
    }
}

TEST_F(GlbWriterTest, RotationKeysStayInOneHemisphere) {
    const Ogre::SkeletonPtr turning = createManualSkeleton("turning.skeleton");
    Ogre::Bone* root = turning->createBone("root", 0);
    Ogre::NodeAnimationTrack* track = turning->createAnimation("turn", 3)->createNodeTrack(0, root);
    // Keys a little apart, the middle one stored with all its signs flipped.
    for (int k = 0; k < 3; ++k) {
        const Ogre::Quaternion turn(Ogre::Degree(10.0f * k), Ogre::Vector3::UNIT_Y);
        track->createNodeKeyFrame(k)->setRotation(k == 1 ? -turn : turn);
    }
    const Glb glb = parseGlb(
        writeGlb(*sample->model.mesh, *turning, {}, texturesIn(sample->work / "model")).bytes());
    const nlohmann::json& animation = glb.json["animations"][0];
    const nlohmann::json& rotation = animation["channels"][1];
    ASSERT_EQ(rotation["target"]["path"], "rotation");
    const std::vector<double> keys =
        glb.values(animation["samplers"][rotation["sampler"].get<int>()]["output"]);
    ASSERT_EQ(keys.size(), 16u); // three keys and the first again at the length
    for (std::size_t q = 4; q < keys.size(); q += 4) {
        EXPECT_GT(std::inner_product(&keys[q], &keys[q] + 4, &keys[q - 4], 0.0), 0.9) << q / 4;
    }
}

TEST_F(GlbWriterTest, EachMaterialEmbedsItsOwnTexture) {
    std::vector<std::string> names;
    std::set<int> images;
    for (const nlohmann::json& material : json()["materials"]) {
        names.push_back(material["name"]);
        const int texture = material["pbrMetallicRoughness"]["baseColorTexture"]["index"];
        images.insert(json()["textures"][texture]["source"].get<int>());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"skin", "cloth", "leather"}));
    EXPECT_EQ(images.size(), names.size());
}

TEST_F(GlbWriterTest, PassSettingsAndMissingTexturesShowInTheMaterials) {
    auto material = [](const std::string& name) {
        Ogre::MaterialPtr made = fetchMaterial(name);
        made->removeAllTechniques();
        return made;
    };
    const Ogre::MaterialPtr blended = material("glass");
    Ogre::Pass* glass = blended->createTechnique()->createPass();
    glass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    glass->setCullingMode(Ogre::CULL_NONE);
    glass->createTextureUnitState("absent.tga");
    const Ogre::MaterialPtr cutOut = material("leaves");
    Ogre::Pass* leaves = cutOut->createTechnique()->createPass();
    leaves->setAlphaRejectSettings(Ogre::CMPF_GREATER_EQUAL, 51);
    leaves->createTextureUnitState("skin.tga");
    const Ogre::MaterialPtr bare = material("bare");

    const GlbResult result = writeGlb(*sample->model.mesh, *sample->model.skeleton,
                                      {blended, cutOut, bare}, texturesIn(sample->work / "model"));
    EXPECT_EQ(result.missingTextures, std::vector<std::string>{"absent.tga"});
    const Glb glb = parseGlb(result.bytes());
    const nlohmann::json& materials = glb.json["materials"];
    EXPECT_EQ(materials[0], (nlohmann::json{{"name", "glass"},
                                            {"alphaMode", "BLEND"},
                                            {"doubleSided", true},
                                            {"pbrMetallicRoughness",
                                             {{"metallicFactor", 0}, {"roughnessFactor", 1}}}}));
    EXPECT_EQ(materials[1]["alphaMode"], "MASK");
    EXPECT_FLOAT_EQ(materials[1]["alphaCutoff"].get<float>(), 0.2f);
    EXPECT_TRUE(materials[1]["pbrMetallicRoughness"].contains("baseColorTexture"));
    EXPECT_EQ(materials[2], (nlohmann::json{{"name", "bare"},
                                            {"pbrMetallicRoughness",
                                             {{"metallicFactor", 0}, {"roughnessFactor", 1}}}}));
    // No submesh names these materials, so no primitive has one.
    for (const nlohmann::json& primitive : glb.json["meshes"][0]["primitives"]) {
        EXPECT_FALSE(primitive.contains("material"));
    }
}

TEST_F(GlbWriterTest, ASkeletonOfOneBoneTakesEveryVertex) {
    const Ogre::SkeletonPtr still = createManualSkeleton("still.skeleton");
    still->createBone("r\xE9sum\xE9", 0); // a Windows code page, not UTF-8
    auto written = [&] {
        return writeGlb(*sample->model.mesh, *still, {}, texturesIn(sample->work / "model"));
    };
    const GlbResult result = written();
    EXPECT_EQ(result.warnings.size(), 2u); // bones the skeleton lacks, vertices left unweighted
    const Glb glb = parseGlb(result.bytes());
    EXPECT_EQ(glb.json["nodes"][0]["name"], "r\uFFFDsum\uFFFD");
    EXPECT_FALSE(glb.json.contains("animations"));
    for (const nlohmann::json& view : glb.json["bufferViews"]) {
        EXPECT_GT(view["byteLength"].get<int>(), 0);
    }
    const nlohmann::json& attributes = glb.json["meshes"][0]["primitives"][0]["attributes"];
    const std::vector<double> weights = glb.values(attributes["WEIGHTS_0"]);
    const std::vector<double> joints = glb.values(attributes["JOINTS_0"]);
    for (std::size_t slot = 0; slot < weights.size(); ++slot) {
        EXPECT_EQ(weights[slot], slot % 4 == 0 ? 1 : 0) << "slot " << slot;
        EXPECT_EQ(joints[slot], 0) << "slot " << slot;
    }

    // An animation without tracks still exists, holding the root at its binding pose.
    still->createAnimation("\xE9t\xE9", 2);
    const nlohmann::json animations = parseGlb(written().bytes()).json["animations"];
    ASSERT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations[0]["name"], "\uFFFDt\uFFFD");
    EXPECT_EQ(animations[0]["channels"].size(), 2u);
}

} // namespace
