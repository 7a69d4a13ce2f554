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
std::string threeBones(const std::function<void(samplemodel::SkmDesc&)>& damage = nullptr) {
    samplemodel::SkmDesc skm;
    skm.bones = {{"root", -1}, {"tip", 2}, {"arm", 0}};
    if (damage) {
        damage(skm);
    }
    return samplemodel::writeSkm(skm);
}

TEST(SkeletonBuilderTest, RefusesBoneTablesNoSkeletonCanHold) {
    std::string pastTheEnd = threeBones();
    patchInt32(pastTheEnd, skmHeaderField::boneOffset, 1 << 30);
    const std::pair<std::string, const char*> cases[] = {
        {threeBones([](auto& skm) {
             skm.bones.resize(300, {"extra", 0});
         }),
         "\tMesh claims 300 bones; a skeleton holds 1 to 256.\n"},
        {threeBones([](auto& skm) { skm.bones[2].name = "root"; }),
         "\tBone name \"root\" occurs twice in the bone table.\n"},
        {threeBones([](auto& skm) { skm.bones[2].parent = 3; }),
         "\tBone \"arm\" names parent 3, which is not in the bone table.\n"},
        {threeBones([](auto& skm) { skm.bones[0].parent = 1; }),
         "\tThe parents of bone \"root\" form a cycle.\n"},
        {pastTheEnd, "\tBone name \"\" occurs twice in the bone table.\n"},
    };
    BuilderEngine engine;
    TemporaryDirectory work;
    for (const auto& [bytes, message] : cases) {
        samplemodel::writeFile(work / "bones.skm", bytes);
        Ogre::SkeletonPtr skeleton = engine.freshSkeleton();
        std::ostringstream console;
        ConsoleDiagnostics out(console);
        EXPECT_FALSE(readSkmBones(work / "bones.skm", *skeleton, out)) << message;
        EXPECT_EQ(console.str().substr(console.str().rfind('\t')), message);
        EXPECT_EQ(skeleton->getNumBones(), 0u) << message;
    }
}

TEST(SkeletonBuilderTest, GivesBindingTransformsOnlyWhereABoneCanTakeThem) {
    BuilderEngine engine;
    TemporaryDirectory work;
    samplemodel::writeFile(work / "bones.skm", threeBones());
    Ogre::SkeletonPtr skeleton = engine.freshSkeleton();
    std::ostringstream console;
    ConsoleDiagnostics out(console);
    ASSERT_TRUE(readSkmBones(work / "bones.skm", *skeleton, out));
    EXPECT_EQ(skeleton->getBone(1)->getParent(), skeleton->getBone("arm"));

    std::ostringstream warnings;
    ConsoleDiagnostics warningLines(warnings);
    readSkaBones({{"wing", {1, 1, 1}, {0, 0, 0, 1}, {0, 0, 0}},
                  {"arm", {2, 2, 2}, {0, 0, 0, 0}, {NAN, 0, 0}},
                  {"tip", {INFINITY, 1, 1}, {0, 0, 0.6f, 0.8f}, {1, 2, 3}}},
                 *skeleton, warningLines);
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
    EXPECT_EQ(tip->getOrientation(), Ogre::Quaternion(0.8f, 0, 0, 0.6f));
    EXPECT_EQ(tip->getPosition(), Ogre::Vector3(1, 2, 3));
    EXPECT_EQ(tip->getScale(), Ogre::Vector3::UNIT_SCALE);
}

} // namespace
