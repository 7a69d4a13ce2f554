// Damaged and hostile files through the real binary, under a time limit and an address-space
// limit of 1 GiB: each run ends with status 0 or 1 and says what was wrong, never a signal.
#include "ByteWriter.h"
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"
#include "support/SmallModel.h"

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>

namespace {

struct HostileCase {
    const char* name;
    std::function<void(SmallModel&)> damageModel;
    std::function<void(std::string& skm, std::string& ska)> damageBytes;
    int exitStatus;
    const char* message;
};

void patchInt32(std::string& bytes, std::size_t offset, int32_t value) {
    std::string field;
    toee::appendInt32(field, value);
    bytes.replace(offset, 4, field);
}

toee::SkaStreamDesc& walkStream(SmallModel& model) {
    return model.ska.animations[0].streams[0];
}

bool isFinite(const Ogre::Vector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Offsets of the small model's SKA: header, two bones, then the two animation headers.
constexpr std::size_t skaAnimationTable = 24 + 2 * 100;

const HostileCase hostileCases[] = {
    {"vertex count beyond the file", nullptr,
     [](std::string& skm, std::string&) { patchInt32(skm, 16, 2147483647); }, 1,
     "vertex table at offset"},
    {"negative material count", nullptr,
     [](std::string& skm, std::string&) { patchInt32(skm, 8, -5); }, 1, "claims -5 records"},
    {"negative bone count", nullptr, [](std::string& skm, std::string&) { patchInt32(skm, 0, -1); },
     1, "Mesh claims -1 bones; a skeleton holds 1 to 256."},
    {"more bones than a skeleton holds",
     [](SmallModel& m) {
         for (int i = 0; i < 300; ++i) {
             m.skm.bones.push_back({"extra" + std::to_string(i), 1});
         }
     },
     nullptr, 1, "Mesh claims 303 bones; a skeleton holds 1 to 256."},
    {"bone name twice", [](SmallModel& m) { m.skm.bones[2].name = "root"; }, nullptr, 1,
     "Bone name \"root\" occurs twice in the bone table."},
    {"parent outside the table", [](SmallModel& m) { m.skm.bones[2].parent = 3; }, nullptr, 1,
     "Bone \"arm\" names parent 3, which is not in the bone table."},
    {"parents in a cycle", [](SmallModel& m) { m.skm.bones[1].parent = 0; }, nullptr, 1,
     "The parents of bone \"tip\" form a cycle."},
    {"bone table past the end", nullptr,
     [](std::string& skm, std::string&) { patchInt32(skm, 4, 1 << 30); }, 1,
     "Bone name \"\" occurs twice"},
    {"faces outside the material and vertex tables",
     [](SmallModel& m) {
         m.skm.faces.push_back({3, {0, 1, 2}});
         m.skm.faces.push_back({0, {0, 1, 3}});
     },
     nullptr, 0, "2 faces name a material or vertex that the file does not have; skipped."},
    {"weights past the sixth slot or on missing bones",
     [](SmallModel& m) {
         m.skm.vertices[0].weightCount = 7;
         m.skm.vertices[2].weightCount = -1;
         m.skm.vertices[1].boneIndex[2] = 3;
     },
     nullptr, 0, "3 bone weights name a bone that the file does not have"},
    {"vertex values not finite",
     [](SmallModel& m) {
         m.skm.vertices[0].position = {NAN, 0, 0};
         m.skm.vertices[1].normal[2] = INFINITY;
         m.skm.vertices[2].uv[0] = -INFINITY;
         m.skm.vertices[1].boneWeight[2] = NAN;
     },
     nullptr, 0, "3 vertices hold values that are not finite numbers; they are read as 0."},
    {"material path empty", [](SmallModel& m) { m.skm.materialPaths[0] = ""; }, nullptr, 1,
     "Error: A material record of the mesh has an empty MDF path"},
    {"key data without end word", nullptr,
     [](std::string&, std::string& ska) { ska.resize(ska.size() - 2); }, 0,
     "ends before its end word"},
    {"animation count beyond the file", nullptr,
     [](std::string&, std::string& ska) { patchInt32(ska, 16, 2147483647); }, 1,
     "animation table at offset 224 claims 2147483647 records"},
    {"negative animation offset", nullptr,
     [](std::string&, std::string& ska) { patchInt32(ska, 20, -100000); }, 0,
     "animation 0 has no name; kept as \"Animation0\""},
    {"stream count beyond the header", nullptr,
     [](std::string&, std::string& ska) { patchInt32(ska, skaAnimationTable + 72, -1); }, 0,
     "claims 4294967295 streams"},
    {"streams of many animations reading the same long key data", nullptr,
     [](std::string&, std::string& ska) {
         // Appended key data: zero factors, 3000 bone states of zeros, the end word, one empty
         // frame and the end word again. Behind it, 120 copies of the header of "walk" whose
         // ten streams all read it: some 80 MB of reading in all.
         const auto keyData = static_cast<int32_t>(ska.size());
         ska.append(8 + 3000 * 22, '\0');
         ska.append("\xFE\xFF\0\0\xFE\xFF", 6);
         const std::string walk = ska.substr(skaAnimationTable, 236);
         patchInt32(ska, 16, 120);
         patchInt32(ska, 20, static_cast<int32_t>(ska.size()));
         for (int k = 0; k < 120; ++k) {
             std::string header = walk;
             patchInt32(header, 72, 10);
             for (std::size_t slot = 0; slot < 10; ++slot) {
                 patchInt32(header, 76 + 16 * slot + 12,
                            keyData - static_cast<int32_t>(ska.size()));
             }
             ska += header;
         }
     },
     0,
     "read key data that other streams share, past the 67108864 bytes such repeated reading may "
     "take; skipped."},
    {"duplicate and empty animation names",
     [](SmallModel& m) {
         m.ska.animations[1].name = "walk";
         m.ska.animations.push_back(m.ska.animations[1]);
         m.ska.animations.back().name = "";
     },
     nullptr, 0, "animation 1 repeats the name \"walk\"; kept as \"walk_2\""},
    {"frame time of zero", [](SmallModel& m) { walkStream(m).frameTime = 0; }, nullptr, 0,
     "animation \"walk\" has the frame time 0, which is not a positive number; skipped."},
    {"frame time not a number", [](SmallModel& m) { walkStream(m).frameTime = NAN; }, nullptr, 0,
     "which is not a positive number; skipped."},
    {"infinite frame time", [](SmallModel& m) { walkStream(m).frameTime = -INFINITY; }, nullptr, 0,
     "which is not a positive number; skipped."},
    {"keys for missing frames and bones",
     [](SmallModel& m) {
         walkStream(m).frames[1].keys[0].rotationFrame = 10;
         walkStream(m).frames[1].keys[1].bone = 3;
     },
     nullptr, 0,
     "animation \"walk\": 2 keys name a bone or frame that it does not have, or hold no "
     "rotation; skipped."},
    {"rotation key of zero length",
     [](SmallModel& m) {
         walkStream(m).frames[1].keys[0].rotationXyzw = {0, 0, 0, 0};
     },
     nullptr, 0,
     "animation \"walk\": 1 keys name a bone or frame that it does not have, or hold no "
     "rotation; skipped."},
    {"infinite translation factor",
     [](SmallModel& m) { walkStream(m).translationFactor = INFINITY; }, nullptr, 0,
     "1 keys name a bone or frame"},
    {"SKA bone the skeleton lacks", [](SmallModel& m) { m.ska.bones[0].name = "wing"; }, nullptr, 0,
     "SKA bone \"wing\" is not in the skeleton; skipped."},
    {"binding rotation of zero length",
     [](SmallModel& m) {
         m.ska.bones[0].bindRotationXyzw = {0, 0, 0, 0};
     },
     nullptr, 0,
     "bone \"arm\" has a binding rotation of zero length or not finite; identity used."},
    {"binding position not finite",
     [](SmallModel& m) {
         m.ska.bones[1].bindPosition = {NAN, 0, 0};
     },
     nullptr, 0, "bone \"root\" has a binding position that is not finite"},
    {"keyframes out of all proportion",
     [](SmallModel& m) {
         m.skm.bones.resize(3);
         for (int i = 3; i < 256; ++i) {
             m.skm.bones.push_back({"b" + std::to_string(i), 1});
         }
         toee::SkaStreamDesc& stream = walkStream(m);
         stream.frameCount = 65535;
         stream.frames = {{0, {}}};
         for (uint16_t bone = 0; bone < 256; ++bone) {
             stream.frames[0].keys.push_back({});
             stream.frames[0].keys.back().bone = bone;
         }
     },
     nullptr, 0,
     "animation \"walk\" would need 16776960 keyframes, more than the 8000000 left of the "
     "8000000 a skeleton may hold; skipped."},
};

// Keyframe rotations are normalised when played: one of zero length would turn into NaN.
void expectPlayableRotations(Ogre::Skeleton& skeleton) {
    for (unsigned short a = 0; a < skeleton.getNumAnimations(); ++a) {
        for (const auto& [handle, track] : skeleton.getAnimation(a)->_getNodeTrackList()) {
            for (unsigned short k = 0; k < track->getNumKeyFrames(); ++k) {
                EXPECT_GT(track->getNodeKeyFrame(k)->getRotation().Norm(), 0.5f)
                    << skeleton.getAnimation(a)->getName() << " bone " << handle << " key " << k;
            }
        }
    }
}

class HostileInputTest : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileInputTest, EndsCleanlyWithAMessage) {
    const HostileCase& hostile = GetParam();
    SmallModel model = makeSmallModel();
    if (hostile.damageModel) {
        hostile.damageModel(model);
    }
    TemporaryDirectory work;
    writeSmallModel(model, work.path(), "small");
    if (hostile.damageBytes) {
        std::string skm = readFileText(work / "small.skm");
        std::string ska = readFileText(work / "small.ska");
        hostile.damageBytes(skm, ska);
        toee::writeFile(work / "small.skm", skm);
        toee::writeFile(work / "small.ska", ska);
    }
    const auto start = std::chrono::steady_clock::now();
    const ConverterRun run = runTarnwick(work.path(), {"small.skm"}, "", 10, 1LL << 30);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_EQ(run.exitStatus, hostile.exitStatus) << run.output << run.errors;
    EXPECT_NE(run.output.find(hostile.message), std::string::npos) << run.output;
    EXPECT_EQ(run.errors, "");
    EXPECT_LT(seconds.count(), 2.0);
    if (run.exitStatus == 0) {
        ReadBack readBack(work / "readback.log");
        const Ogre::SkeletonPtr skeleton = readBack.skeleton(work / "small.skeleton");
        for (unsigned short i = 0; i < skeleton->getNumBones(); ++i) {
            EXPECT_FALSE(skeleton->getBone(i)->getOrientation().isNaN());
            EXPECT_FALSE(skeleton->getBone(i)->getPosition().isNaN());
        }
        expectPlayableRotations(*skeleton);
        const Ogre::MeshPtr mesh = readBack.mesh(work / "small.mesh");
        EXPECT_TRUE(isFinite(mesh->getBounds().getMinimum()));
        EXPECT_TRUE(isFinite(mesh->getBounds().getMaximum()));
        EXPECT_TRUE(std::isfinite(mesh->getBoundingSphereRadius()));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileInputTest, testing::ValuesIn(hostileCases),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

} // namespace
