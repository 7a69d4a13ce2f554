// Bone tables fed straight into the skeleton builder, one case per scoped block.
#include "skeleton/SkeletonBuilder.h"
#include "TestBytes.h"
#include "ToeeFiles.h"
#include "skm/SkmRecords.h"
#include "support/BuilderEngine.h"
#include "support/ConverterProcess.h"

#include <OgreBone.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

namespace {

// root (0), tip (1, child of arm), arm (2, child of root): a child before its parent.
samplemodel::SkmDesc threeBones() {
    samplemodel::SkmDesc skm;
    skm.bones = {{"root", -1}, {"tip", 2}, {"arm", 0}};
    return skm;
}

struct RefusedTable {
    std::function<void(samplemodel::SkmDesc&)> damageModel;
    std::function<void(std::string&)> damageBytes;
    const char* message;
};

TEST(SkeletonBuilderTest, RefusesBoneTablesNoSkeletonCanHold) {
    const RefusedTable cases[] = {
        {[](samplemodel::SkmDesc& skm) {
             for (int i = 0; i < 300; ++i) {
                 skm.bones.push_back({"extra" + std::to_string(i), 0});
             }
         },
         nullptr, "\tMesh claims 303 bones; a skeleton holds 1 to 256.\n"},
        {[](samplemodel::SkmDesc& skm) { skm.bones[2].name = "root"; }, nullptr,
         "\tBone name \"root\" occurs twice in the bone table.\n"},
        {[](samplemodel::SkmDesc& skm) { skm.bones[2].parent = 3; }, nullptr,
         "\tBone \"arm\" names parent 3, which is not in the bone table.\n"},
        {[](samplemodel::SkmDesc& skm) { skm.bones[0].parent = 1; }, nullptr,
         "\tThe parents of bone \"root\" form a cycle.\n"},
        {nullptr,
         [](std::string& bytes) { patchInt32(bytes, skmHeaderField::boneOffset, 1 << 30); },
         "\tBone name \"\" occurs twice in the bone table.\n"},
    };
    BuilderEngine engine;
    TemporaryDirectory work;
    for (const RefusedTable& refused : cases) {
        samplemodel::SkmDesc skm = threeBones();
        if (refused.damageModel) {
            refused.damageModel(skm);
        }
        std::string bytes = samplemodel::writeSkm(skm);
        if (refused.damageBytes) {
            refused.damageBytes(bytes);
        }
        samplemodel::writeFile(work / "bones.skm", bytes);
        Ogre::SkeletonPtr skeleton = engine.freshSkeleton();
        std::ostringstream out;
        EXPECT_FALSE(readSkmBones(work / "bones.skm", *skeleton, out)) << refused.message;
        const std::string console = out.str();
        EXPECT_EQ(console.substr(console.rfind('\t')), refused.message);
        EXPECT_EQ(skeleton->getNumBones(), 0u) << refused.message;
    }
}

TEST(SkeletonBuilderTest, GivesBindingTransformsOnlyWhereABoneCanTakeThem) {
    BuilderEngine engine;
    TemporaryDirectory work;
    samplemodel::writeFile(work / "bones.skm", samplemodel::writeSkm(threeBones()));
    Ogre::SkeletonPtr skeleton = engine.freshSkeleton();
    std::ostringstream out;
    ASSERT_TRUE(readSkmBones(work / "bones.skm", *skeleton, out));
    EXPECT_EQ(skeleton->getBone(1)->getParent(), skeleton->getBone("arm"));

    const std::vector<SkaBone> bones = {
        {"wing", {1, 1, 1}, {0, 0, 0, 1}, {0, 0, 0}},
        {"arm", {2, 2, 2}, {0, 0, 0, 0}, {NAN, 0, 0}},
        {"tip", {INFINITY, 1, 1}, {0, 0, 0.70710678f, 0.70710678f}, {1, 2, 3}},
    };
    std::ostringstream warnings;
    readSkaBones(bones, *skeleton, warnings);
    EXPECT_EQ(warnings.str(),
              "\tWarning: SKA bone \"wing\" is not in the skeleton; skipped.\n"
              "\tWarning: bone \"arm\" has a binding rotation of zero length or not finite; "
              "identity used.\n"
              "\tWarning: bone \"arm\" has a binding position that is not finite; Vector3(0, 0, "
              "0) used.\n"
              "\tWarning: bone \"tip\" has a binding scale that is not finite; Vector3(1, 1, 1) "
              "used.\n");
    const Ogre::Bone* arm = skeleton->getBone("arm");
    EXPECT_EQ(arm->getOrientation(), Ogre::Quaternion::IDENTITY);
    EXPECT_EQ(arm->getPosition(), Ogre::Vector3::ZERO);
    EXPECT_EQ(arm->getScale(), Ogre::Vector3(2, 2, 2));
    const Ogre::Bone* tip = skeleton->getBone("tip");
    EXPECT_EQ(tip->getPosition(), Ogre::Vector3(1, 2, 3));
    EXPECT_EQ(tip->getScale(), Ogre::Vector3::UNIT_SCALE);
    EXPECT_NEAR(tip->getOrientation().z, 0.70710678f, 1e-6f);
}

} // namespace
