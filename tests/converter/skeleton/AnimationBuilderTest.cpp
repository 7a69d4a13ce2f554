// Decoded animations fed straight into the builder, one case per scoped block.
#include "skeleton/AnimationBuilder.h"
#include "support/BuilderEngine.h"

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

// Bones 0 "root" and 1 "arm", the arm turned 90 degrees about z at (1, 2, 3).
Ogre::SkeletonPtr twoBones(BuilderEngine& engine) {
    Ogre::SkeletonPtr skeleton = engine.freshSkeleton();
    Ogre::Bone* root = skeleton->createBone("root", 0);
    Ogre::Bone* arm = skeleton->createBone("arm", 1);
    root->addChild(arm);
    arm->setOrientation(Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Z));
    arm->setPosition(1, 2, 3);
    return skeleton;
}

BoneKey rotationKey(uint16_t bone, uint16_t frame, std::array<float, 4> wxyz) {
    return {bone, rotationChannel, frame, wxyz};
}

BoneKey translationKey(uint16_t bone, uint16_t frame, std::array<float, 3> xyz) {
    return {bone, translationChannel, 0, {}, 0, {}, frame, xyz};
}

// Ten frames of 0.3 s with the keys given in stream 0.
AnimationData animation(const std::string& name, std::vector<BoneKey> keys) {
    return {name, 10, 30, {{10, 30, std::move(keys)}}};
}

struct Built {
    std::string warnings;
    std::size_t budgetLeft;
};

Built build(const AnimationData& data, std::size_t index, Ogre::Skeleton& skeleton,
            std::size_t budget = 1000000) {
    std::ostringstream out;
    buildAnimation(data, index, skeleton, budget, out);
    return {out.str(), budget};
}

TEST(AnimationBuilderTest, RenamesOrSkipsAnimationsTheEngineCannotTake) {
    BuilderEngine engine;
    {
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        EXPECT_EQ(build(animation("walk", {}), 0, *skeleton).warnings, "");
        EXPECT_EQ(build(animation("walk", {}), 1, *skeleton).warnings,
                  "\tWarning: animation 1 repeats the name \"walk\"; kept as \"walk_2\".\n");
        EXPECT_EQ(build(animation("", {}), 2, *skeleton).warnings,
                  "\tWarning: animation 2 has no name; kept as \"Animation2\".\n");
        EXPECT_TRUE(skeleton->hasAnimation("walk_2"));
        EXPECT_TRUE(skeleton->hasAnimation("Animation2"));
        EXPECT_FLOAT_EQ(skeleton->getAnimation("walk")->getLength(), 3.0f);
    }
    for (float frameTime : {0.0f, NAN, -INFINITY}) {
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        AnimationData data = animation("walk", {rotationKey(1, 3, {1, 0, 0, 0})});
        data.frameTime = frameTime;
        const std::string warnings = build(data, 0, *skeleton).warnings;
        EXPECT_NE(warnings.find("which is not a positive number; skipped."), std::string::npos)
            << frameTime;
        EXPECT_EQ(skeleton->getNumAnimations(), 0u);
    }
    {
        // Two keyed bones over 1000 frames need 2000 keyframes.
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        AnimationData huge =
            animation("huge", {rotationKey(0, 0, {1, 0, 0, 0}), rotationKey(1, 0, {1, 0, 0, 0})});
        huge.streams[0].frameCount = 1000;
        const Built refused = build(huge, 0, *skeleton, 1999);
        EXPECT_EQ(refused.warnings, "\tWarning: animation \"huge\" would need 2000 keyframes, "
                                    "more than the file can sensibly hold; skipped.\n");
        EXPECT_EQ(refused.budgetLeft, 1999u);
        EXPECT_EQ(build(huge, 0, *skeleton, 2001).budgetLeft, 1u);
        EXPECT_TRUE(skeleton->hasAnimation("huge"));
    }
}

TEST(AnimationBuilderTest, SkipsKeysOutsideTheSkeletonOrTheAnimation) {
    BuilderEngine engine;
    {
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        const Built built = build(
            animation("walk", {rotationKey(1, 10, {1, 0, 0, 0}), rotationKey(2, 3, {1, 0, 0, 0}),
                               translationKey(1, 7, {1, 2, 5})}),
            0, *skeleton);
        EXPECT_EQ(built.warnings,
                  "\tWarning: animation \"walk\": 2 keys name a bone or frame that it does not "
                  "have, or hold no rotation; skipped.\n");
        const Ogre::Animation* walk = skeleton->getAnimation("walk");
        ASSERT_EQ(walk->getNumNodeTracks(), 1u);
        const Ogre::TransformKeyFrame* frame7 = walk->getNodeTrack(1)->getNodeKeyFrame(7);
        EXPECT_EQ(frame7->getTranslate(), Ogre::Vector3(0, 0, 2)) << "relative to the binding";
    }
    {
        // Played, a rotation of zero length or a translation that is not finite would turn the
        // bone into NaN; the keyframe keeps the binding pose instead.
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        const Built built = build(animation("walk", {rotationKey(1, 3, {0, 0, 0, 0}),
                                                     translationKey(1, 4, {INFINITY, 0, 0})}),
                                  0, *skeleton);
        EXPECT_NE(built.warnings.find("2 keys name a bone or frame"), std::string::npos);
        const Ogre::NodeAnimationTrack* track = skeleton->getAnimation("walk")->getNodeTrack(1);
        EXPECT_EQ(track->getNodeKeyFrame(3)->getRotation(), Ogre::Quaternion::IDENTITY);
        EXPECT_EQ(track->getNodeKeyFrame(4)->getTranslate(), Ogre::Vector3::ZERO);
    }
}

} // namespace
