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
    Ogre::Bone* arm = skeleton->createBone("arm", 1);
    skeleton->createBone("root", 0)->addChild(arm);
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
AnimationData animation(const std::string& name, std::vector<BoneKey> keys = {}) {
    return {name, 10, 30, {{10, 30, std::move(keys)}}};
}

// The warnings of building one animation; the state carries what earlier animations of the
// skeleton took.
std::string build(const AnimationData& data, std::size_t index, Ogre::Skeleton& skeleton,
                  AnimationBuildState& state) {
    std::ostringstream console;
    ConsoleDiagnostics out(console);
    buildAnimation(data, index, skeleton, state, out);
    return console.str();
}

std::string build(const AnimationData& data, std::size_t index, Ogre::Skeleton& skeleton) {
    AnimationBuildState fresh{1000000, 0, {}};
    return build(data, index, skeleton, fresh);
}

TEST(AnimationBuilderTest, RenamesOrSkipsAnimationsTheEngineCannotTake) {
    BuilderEngine engine;
    {
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        AnimationBuildState state{1000000, 0, {}};
        EXPECT_EQ(build(animation("walk"), 0, *skeleton, state), "");
        EXPECT_EQ(build(animation("walk"), 1, *skeleton, state),
                  "\tWarning: animation 1 repeats the name \"walk\"; kept as \"walk_2\".\n");
        EXPECT_EQ(build(animation(""), 2, *skeleton, state),
                  "\tWarning: animation 2 has no name; kept as \"Animation2\".\n");
        EXPECT_TRUE(skeleton->hasAnimation("walk_2") && skeleton->hasAnimation("Animation2"));
        EXPECT_FLOAT_EQ(skeleton->getAnimation("walk")->getLength(), 3.0f);
    }
    for (float frameTime : {0.0f, NAN, -INFINITY}) {
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        AnimationData data = animation("walk", {rotationKey(1, 3, {1, 0, 0, 0})});
        data.frameTime = frameTime;
        EXPECT_NE(build(data, 0, *skeleton).find("which is not a positive number; skipped."),
                  std::string::npos);
        EXPECT_EQ(skeleton->getNumAnimations(), 0u) << frameTime;
    }
    {
        // Two keyed bones over 1000 frames need 2000 keyframes.
        Ogre::SkeletonPtr skeleton = twoBones(engine);
        AnimationData data =
            animation("big", {rotationKey(0, 0, {1, 0, 0, 0}), rotationKey(1, 0, {1, 0, 0, 0})});
        data.streams[0].frameCount = 1000;
        AnimationBuildState tooSmall{1999, 0, {}};
        EXPECT_EQ(build(data, 0, *skeleton, tooSmall),
                  "\tWarning: animation \"big\" would need 2000 keyframes, more than the 1999 "
                  "left of the 1999 a skeleton may hold; skipped.\n");
        AnimationBuildState enough{2000, 0, {}};
        EXPECT_EQ(build(data, 0, *skeleton, enough), "");
        EXPECT_TRUE(skeleton->hasAnimation("big"));
    }
}

// Played, a rotation of zero length or a translation that is not finite would turn the bone
// into NaN; such a keyframe keeps the binding pose.
TEST(AnimationBuilderTest, SkipsKeysOutsideTheSkeletonOrTheAnimation) {
    BuilderEngine engine;
    Ogre::SkeletonPtr skeleton = twoBones(engine);
    const std::string warnings = build(
        animation("walk", {rotationKey(1, 10, {1, 0, 0, 0}), rotationKey(2, 3, {1, 0, 0, 0}),
                           rotationKey(1, 3, {0, 0, 0, 0}), translationKey(1, 4, {INFINITY, 0, 0}),
                           translationKey(1, 7, {1, 2, 5})}),
        0, *skeleton);
    EXPECT_EQ(warnings, "\tWarning: animation \"walk\": 4 keys name a bone or frame that it does "
                        "not have, or hold no rotation; skipped.\n");
    const Ogre::Animation* walk = skeleton->getAnimation("walk");
    ASSERT_EQ(walk->getNumNodeTracks(), 1u);
    const Ogre::NodeAnimationTrack* arm = walk->getNodeTrack(1);
    EXPECT_EQ(arm->getNodeKeyFrame(3)->getRotation(), Ogre::Quaternion::IDENTITY);
    EXPECT_EQ(arm->getNodeKeyFrame(4)->getTranslate(), Ogre::Vector3::ZERO);
    EXPECT_EQ(arm->getNodeKeyFrame(7)->getTranslate(), Ogre::Vector3(0, 0, 2))
        << "relative to the binding position";
}

} // namespace
