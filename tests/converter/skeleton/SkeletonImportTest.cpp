// Valid files that hostile-input limits once refused, imported in-process, written by the
// engine's serializer and read back through it; and what the limits skip when a file does pass
// them: the animation, never the import.
#include "skeleton/SkeletonImport.h"
#include "ByteStream.h"
#include "ByteWriter.h"
#include "Resources.h"
#include "ToeeFiles.h"
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"

#include <OgreAnimation.h>
#include <OgreKeyFrame.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

namespace {

using namespace samplemodel;

// Offsets of an SKA file without bones as writeSka lays it out: the header, then the
// animation headers, whose slot 0 names its key data relative to the header's own position.
constexpr std::size_t skaHeaderBytes = 24;
constexpr std::size_t skaAnimationBytes = 236;
constexpr std::size_t firstSlotDataOffset = 76 + 12;

SkmDesc boneChain(int bones) {
    SkmDesc skm;
    for (int b = 0; b < bones; ++b) {
        skm.bones.push_back({"bone" + std::to_string(b), static_cast<int16_t>(b - 1)});
    }
    return skm;
}

// One rotation key for every bone: a quarter turn about x at the given frame.
SkaStreamDesc turnEveryBone(int bones, uint16_t frameCount, int16_t frame) {
    SkaStreamDesc stream;
    stream.frameCount = frameCount;
    stream.frameTime = 4;
    stream.frames = {{0, {}}};
    for (int b = 0; b < bones; ++b) {
        SkaBoneKeyDesc key;
        key.bone = static_cast<uint16_t>(b);
        key.hasRotation = true;
        key.rotationFrame = frame;
        key.rotationXyzw = {23170, 0, 0, 23170};
        stream.frames[0].keys.push_back(key);
    }
    return stream;
}

// Makes slot 0 of animation `reader` name the key data of slot 0 of animation `owner`.
void shareFirstStream(std::string& ska, int owner, int reader) {
    const auto slotOf = [](int animation) {
        return skaHeaderBytes + skaAnimationBytes * animation + firstSlotDataOffset;
    };
    const int64_t ownerHeader = skaHeaderBytes + skaAnimationBytes * owner;
    const int64_t readerHeader = skaHeaderBytes + skaAnimationBytes * reader;
    const int64_t keyData = ownerHeader + readInt32(ska.data(), slotOf(owner));
    std::string offset;
    appendInt32(offset, static_cast<int32_t>(keyData - readerHeader));
    ska.replace(slotOf(reader), 4, offset);
}

class SkeletonImportTest : public testing::Test {
protected:
    // Imports model.skm and model.ska, writes the skeleton and reads it back; the console
    // text goes to messages, the time the import took to importSeconds.
    Ogre::SkeletonPtr convert(const SkmDesc& skm, const std::string& ska,
                              const ImportLimits& limits = ImportLimits()) {
        writeFile(work / "model.skm", writeSkm(skm));
        writeFile(work / "model.ska", ska);
        std::ostringstream console;
        ConsoleDiagnostics out(console);
        {
            const Ogre::SkeletonPtr imported = createManualSkeleton("imported");
            const auto start = std::chrono::steady_clock::now();
            EXPECT_TRUE(
                importSkeleton(work / "model.skm", work / "model.ska", *imported, out, limits));
            importSeconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            readBack.engine().skeletonSerializer().exportSkeleton(imported.get(),
                                                                  work / "model.skeleton");
            Ogre::SkeletonManager::getSingleton().remove(imported);
        }
        messages = console.str();
        return readBack.skeleton(work / "model.skeleton");
    }

    TemporaryDirectory work;
    ReadBack readBack{work / "readback.log"};
    std::string messages;
    double importSeconds = 0;
};

void expectTurnedAt(const Ogre::Animation& animation, unsigned short tracks, int16_t frame) {
    ASSERT_EQ(animation.getNumNodeTracks(), tracks) << animation.getName();
    const Ogre::NodeAnimationTrack* track = animation.getNodeTrack(tracks - 1);
    const Ogre::Quaternion turned = track->getNodeKeyFrame(frame)->getRotation();
    EXPECT_NEAR(turned.x, 0.7071f, 1e-3f) << animation.getName();
    EXPECT_NEAR(turned.w, 0.7071f, 1e-3f) << animation.getName();
}

TEST_F(SkeletonImportTest, AnimationsSharingOneStreamAreAllConverted) {
    // Eight animations read one stream of about 20 KB: eight times more key data than a file
    // of its size holds, all of it the same bytes.
    constexpr int bones = 20;
    constexpr int animations = 8;
    SkaDesc ska;
    SkaStreamDesc shared;
    for (int16_t frame = 0; frame < 80; ++frame) {
        const SkaStreamDesc turns = turnEveryBone(bones, 80, frame);
        shared.frames.push_back({static_cast<uint16_t>(frame), turns.frames[0].keys});
    }
    shared.frameCount = 80;
    shared.frameTime = 4;
    ska.animations.push_back({"clip0", 0, {shared}});
    for (int k = 1; k < animations; ++k) {
        ska.animations.push_back({"clip" + std::to_string(k), 0, {turnEveryBone(1, 80, 0)}});
    }
    std::string bytes = writeSka(ska);
    for (int k = 1; k < animations; ++k) {
        shareFirstStream(bytes, 0, k);
    }

    const Ogre::SkeletonPtr skeleton = convert(boneChain(bones), bytes);
    EXPECT_EQ(messages.find("Warning"), std::string::npos) << messages;
    ASSERT_EQ(skeleton->getNumAnimations(), animations);
    for (int k = 0; k < animations; ++k) {
        const Ogre::Animation* animation = skeleton->getAnimation("clip" + std::to_string(k));
        for (int16_t frame : {0, 41, 79}) {
            expectTurnedAt(*animation, bones, frame);
        }
    }
}

TEST_F(SkeletonImportTest, CompactFileOfManyKeyframesConvertsWhole) {
    // 64 bones, 100 animations of 200 frames, one key per bone and animation: a 100 KB file
    // that asks for 1.28 million keyframes.
    constexpr int bones = 64;
    constexpr int animations = 100;
    SkaDesc ska;
    for (int k = 0; k < animations; ++k) {
        ska.animations.push_back(
            {"clip" + std::to_string(k), 0, {turnEveryBone(bones, 200, static_cast<int16_t>(k))}});
    }
    const Ogre::SkeletonPtr skeleton = convert(boneChain(bones), writeSka(ska));
    EXPECT_EQ(messages.find("Warning"), std::string::npos) << messages;
    ASSERT_EQ(skeleton->getNumAnimations(), animations);
    for (int k = 0; k < animations; ++k) {
        const Ogre::Animation& animation = *skeleton->getAnimation("clip" + std::to_string(k));
        expectTurnedAt(animation, bones, static_cast<int16_t>(k));
        EXPECT_EQ(animation.getNodeTrack(0)->getNumKeyFrames(), 200u);
    }
}

TEST_F(SkeletonImportTest, AnimationsPastTheLimitsAreSkippedAndTheRestConverted) {
    // Limits of 1,000 keyframes and 100 bytes of repeated reading: "many" asks for 1,200
    // keyframes; "again" reads the 134 bytes of key data of "first" a second time.
    constexpr int bones = 10;
    SkaDesc ska;
    ska.animations = {{"first", 0, {turnEveryBone(bones, 50, 1)}},
                      {"many", 0, {turnEveryBone(bones, 120, 2)}},
                      {"again", 0, {turnEveryBone(1, 50, 0)}},
                      {"last", 0, {turnEveryBone(bones, 50, 3)}}};
    std::string bytes = writeSka(ska);
    shareFirstStream(bytes, 0, 2);

    const Ogre::SkeletonPtr skeleton = convert(boneChain(bones), bytes, ImportLimits{1000, 100});
    EXPECT_EQ(messages, "Reading bones from file:" + work / "model.skm" +
                            "\n\tMesh contains 10 bones.\nReading bones - success.\n"
                            "\tWarning: the key streams of animation \"again\" read key data that "
                            "other streams share, past the 100 bytes such repeated reading may "
                            "take; skipped.\n"
                            "\tWarning: animation \"many\" would need 1200 keyframes, more than "
                            "the 500 left of the 1000 a skeleton may hold; skipped.\n"
                            "Importing Skeleton Success!");
    ASSERT_EQ(skeleton->getNumAnimations(), 2u);
    expectTurnedAt(*skeleton->getAnimation("first"), bones, 1);
    expectTurnedAt(*skeleton->getAnimation("last"), bones, 3);
}

TEST_F(SkeletonImportTest, ThousandsOfAnimationsOfOneNameAreNamedQuickly) {
    // Each repeated name takes the next free suffix; a search from the first suffix for every
    // animation took seconds for a file of a few MB.
    SkaStreamDesc still;
    still.frameCount = 1;
    still.frameTime = 4;
    SkaDesc ska;
    ska.animations.assign(8000, {"a", 0, {still}});
    const Ogre::SkeletonPtr skeleton = convert(boneChain(1), writeSka(ska));
    EXPECT_LT(importSeconds, 1.0);
    ASSERT_EQ(skeleton->getNumAnimations(), 8000u);
    EXPECT_TRUE(skeleton->hasAnimation("a_8000"));
}

} // namespace
