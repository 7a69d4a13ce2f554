#include "skeleton/SkaReader.h"
#include "TestBytes.h"
#include "ToeeFiles.h"
#include "support/SmallModel.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace samplemodel;

// One animation header at offset 24 whose slots point at the key data right behind it.
std::string skaWithKeyData(const std::string& keyData, uint32_t streamCount = 1) {
    std::string bytes;
    appendInt32(bytes, 0); // bones
    appendInt32(bytes, 0);
    appendInt32(bytes, 0); // variations
    appendInt32(bytes, 0);
    appendInt32(bytes, 1); // animations
    appendInt32(bytes, 24);
    appendText(bytes, "clip", 66);
    appendUint16(bytes, 0);
    appendInt32(bytes, 0);
    appendUint32(bytes, streamCount);
    for (int slot = 0; slot < 10; ++slot) {
        appendUint16(bytes, static_cast<uint16_t>(10 + slot));
        appendUint16(bytes, 0);
        appendFloat(bytes, 30.0f);
        appendInt32(bytes, 0);
        appendInt32(bytes, 236); // from the header's own position
    }
    return bytes + keyData;
}

struct Decoded {
    std::vector<SkaBone> bones;
    std::vector<AnimationData> animations;
    std::string messages;
    std::string error;
    bool ok;
};

// Reads in the import's order: header, bone table, then the animations one by one.
Decoded decode(const std::string& bytes) {
    Decoded decoded;
    std::ostringstream out;
    SkaReader reader(bytes, "test.ska");
    const SkaHeader header = reader.readHeader(out);
    decoded.ok = reader.readBones(header, decoded.bones, decoded.error) &&
                 reader.readAnimationTable(header, decoded.error);
    decoded.animations.resize(reader.animationCount());
    for (std::size_t k = 0; decoded.ok && k < decoded.animations.size(); ++k) {
        decoded.ok = reader.readAnimation(k, decoded.animations[k], out, decoded.error);
    }
    decoded.messages = out.str();
    return decoded;
}

TEST(SkaReaderTest, DecodesTheWorkedExample) {
    const Decoded decoded = decode(skaWithKeyData(workedExampleKeyData));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.messages, "");
    ASSERT_EQ(decoded.animations.size(), 1u);
    const AnimationData& clip = decoded.animations[0];
    EXPECT_EQ(clip.name, "clip");
    EXPECT_EQ(clip.frameCount, 10);
    EXPECT_EQ(clip.frameTime, 30.0f);
    ASSERT_EQ(clip.streams.size(), 1u);
    ASSERT_EQ(clip.streams[0].keys.size(), 1u);
    const BoneKey& key = clip.streams[0].keys[0];
    EXPECT_EQ(key.bone, 1);
    EXPECT_EQ(key.channels, rotationChannel);
    EXPECT_EQ(key.rotationFrame, 3);
    EXPECT_EQ(key.rotation, (std::array<float, 4>{1, 0, 0, 0}));
}

TEST(SkaReaderTest, DecodesChannelRecordsInScaleRotationTranslationOrder) {
    SkaStreamDesc stream;
    stream.frameCount = 4;
    stream.frameTime = 10;
    stream.scaleFactor = 2;
    stream.translationFactor = 0.5f;
    stream.boneStates = {{0, {}}, {1, {}}, {2, {}}};
    SkaBoneKeyDesc key;
    key.bone = 2;
    key.hasScale = key.hasRotation = key.hasTranslation = true;
    key.scaleFrame = 1;
    key.scale = {1, 2, 3};
    key.rotationFrame = 2;
    key.rotationXyzw = {-32767, 0, 0, 32767};
    key.translationFrame = 3;
    key.translation = {100, -100, 0};
    stream.frames = {{0, {key, SkaBoneKeyDesc{}}}, {1, {}}};
    SkaDesc ska;
    ska.animations = {{"all", 0, {stream}}};

    const Decoded decoded = decode(writeSka(ska));
    ASSERT_EQ(decoded.animations[0].streams[0].keys.size(), 2u);
    const BoneKey& full = decoded.animations[0].streams[0].keys[0];
    EXPECT_EQ(full.bone, 2);
    EXPECT_EQ(full.channels, rotationChannel | scaleChannel | translationChannel);
    EXPECT_EQ(full.scaleFrame, 1);
    EXPECT_EQ(full.scale, (std::array<float, 3>{2, 4, 6}));
    EXPECT_EQ(full.rotationFrame, 2);
    EXPECT_EQ(full.rotation, (std::array<float, 4>{1, -1, 0, 0}));
    EXPECT_EQ(full.translationFrame, 3);
    EXPECT_EQ(full.translation, (std::array<float, 3>{50, -50, 0}));
    // A bone word of value 1: bone 0 without a channel.
    EXPECT_EQ(decoded.animations[0].streams[0].keys[1].bone, 0);
    EXPECT_EQ(decoded.animations[0].streams[0].keys[1].channels, 0);
}

TEST(SkaReaderTest, OffsetsCountFromEachAnimationsOwnHeader) {
    SkaStreamDesc first;
    first.frameCount = 2;
    first.frameTime = 100;
    SkaBoneKeyDesc key;
    key.bone = 5;
    first.frames = {{0, {key}}};
    SkaStreamDesc second = first;
    second.frames[0].keys[0].bone = 7;
    SkaDesc ska;
    ska.animations = {{"one", 2, {first}}, {"two", 0, {second}}, {"none", 0, {}}};

    const Decoded decoded = decode(writeSka(ska));
    ASSERT_TRUE(decoded.ok);
    ASSERT_EQ(decoded.animations.size(), 3u);
    EXPECT_EQ(decoded.animations[0].streams[0].keys[0].bone, 5);
    EXPECT_EQ(decoded.animations[1].streams[0].keys[0].bone, 7);
    EXPECT_TRUE(decoded.animations[2].streams.empty());
    EXPECT_EQ(decoded.animations[2].name, "none");
}

TEST(SkaReaderTest, AStreamCountOfZeroStillTimesTheAnimationBySlotZero) {
    const Decoded decoded = decode(skaWithKeyData(workedExampleKeyData, 0));
    ASSERT_EQ(decoded.animations.size(), 1u);
    EXPECT_TRUE(decoded.animations[0].streams.empty());
    EXPECT_EQ(decoded.animations[0].frameCount, 10);
    EXPECT_EQ(decoded.animations[0].frameTime, 30.0f);
}

TEST(SkaReaderTest, KeyDataStartingWithTheEndWordHasNoKeys) {
    std::string keyData;
    appendFloat(keyData, 1);
    appendFloat(keyData, 1);
    appendInt16(keyData, -2);
    appendInt16(keyData, -2);
    const Decoded decoded = decode(skaWithKeyData(keyData));
    ASSERT_EQ(decoded.animations[0].streams.size(), 1u);
    EXPECT_TRUE(decoded.animations[0].streams[0].keys.empty());
}

TEST(SkaReaderTest, KeyDataWithoutEndWordStopsAtTheEndOfTheFile) {
    const std::string truncated = workedExampleKeyData.substr(0, workedExampleKeyData.size() - 2);
    const Decoded kept = decode(skaWithKeyData(truncated));
    ASSERT_TRUE(kept.ok);
    EXPECT_EQ(kept.animations[0].streams[0].keys.size(), 1u);
    EXPECT_EQ(kept.messages, "\tWarning: the key data of animation \"clip\", stream 0, ends "
                             "before its end word; its 1 complete keys are kept.\n");

    // Cut inside the rotation record: the incomplete key is dropped.
    const Decoded cut = decode(skaWithKeyData(workedExampleKeyData.substr(0, 18)));
    EXPECT_TRUE(cut.animations[0].streams[0].keys.empty());

    // Key data that lies wholly past the end reads nothing, as in the game's own reader.
    std::string bytes = skaWithKeyData("");
    const Decoded beyond = decode(bytes);
    EXPECT_TRUE(beyond.animations[0].streams[0].keys.empty());
    EXPECT_EQ(beyond.messages, "");
}

TEST(SkaReaderTest, ReadsOnlyTheTenSlotsOfAHeader) {
    const Decoded decoded = decode(skaWithKeyData(workedExampleKeyData, 70000));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.animations[0].streams.size(), 10u);
    EXPECT_EQ(decoded.animations[0].streams[9].frameCount, 19);
    EXPECT_EQ(decoded.messages, "\tWarning: animation \"clip\" claims 70000 streams; only the 10 "
                                "slots of its header are read.\n");
}

TEST(SkaReaderTest, RefusesStreamsThatReReadTheFileWithoutEnd) {
    // Ten thousand animations whose streams all decode the same long key data.
    std::string keyData;
    appendFloat(keyData, 1);
    appendFloat(keyData, 1);
    appendInt16(keyData, -2);
    appendInt16(keyData, 0);
    for (int i = 0; i < 20000; ++i) {
        appendInt16(keyData, 1);
    }
    appendInt16(keyData, -2);
    std::string bytes;
    const int32_t animations = 10000;
    for (int32_t value : {0, 0, 0, 0, animations, 24}) {
        appendInt32(bytes, value);
    }
    const int64_t keyDataAt = 24 + 236 * animations;
    for (int32_t k = 0; k < animations; ++k) {
        appendText(bytes, "a", 66);
        appendUint16(bytes, 0);
        appendInt32(bytes, 0);
        appendUint32(bytes, 10);
        for (int slot = 0; slot < 10; ++slot) {
            appendZeros(bytes, 12);
            appendInt32(bytes, static_cast<int32_t>(keyDataAt - (24 + 236 * k)));
        }
    }
    const Decoded decoded = decode(bytes + keyData);
    EXPECT_FALSE(decoded.ok);
    EXPECT_EQ(decoded.error, "test.ska: the key streams of animation \"a\" read the file's key "
                             "data over and over; the file is damaged.");
}

TEST(SkaReaderTest, WarnsOfVariationsAndReadsTheBoneTable) {
    SkaDesc ska;
    ska.variationCount = 2;
    ska.bones = {{"hip", {1, 2, 3}, {0.1f, 0.2f, 0.3f, 0.9f}, {4, 5, 6}}};
    const std::string bytes = writeSka(ska);
    std::ostringstream out;
    SkaReader reader(bytes, "v.ska");
    const SkaHeader header = reader.readHeader(out);
    EXPECT_EQ(out.str(), " Warning: Variation count != 0. Variation format is unknown.\n");
    std::vector<SkaBone> bones;
    std::string error;
    ASSERT_TRUE(reader.readBones(header, bones, error));
    ASSERT_EQ(bones.size(), 1u);
    EXPECT_EQ(bones[0].name, "hip");
    EXPECT_EQ(bones[0].bindScale, (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(bones[0].bindRotation, (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.9f}));
    EXPECT_EQ(bones[0].bindPosition, (std::array<float, 3>{4, 5, 6}));
}

// Every prefix of a small model, each in a buffer of its own size (std::string allocates just
// the prefix and its NUL beyond the shortest ones), so that the sanitizers see a read past it.
TEST(SkaReaderTest, EveryPrefixOfAFileReadsAsRecordsOrACleanError) {
    const std::string whole = writeSka(makeSmallModel().ska);
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        const Decoded decoded = decode(whole.substr(0, size));
        if (!decoded.ok) {
            EXPECT_EQ(decoded.error.rfind("test.ska: ", 0), 0u) << size;
            continue;
        }
        std::ostringstream out;
        const SkaHeader header = SkaReader(whole.substr(0, size), "test.ska").readHeader(out);
        EXPECT_EQ(decoded.bones.size(), static_cast<std::size_t>(header.boneCount));
        EXPECT_EQ(decoded.animations.size(), static_cast<std::size_t>(header.animationCount));
    }
}

} // namespace
