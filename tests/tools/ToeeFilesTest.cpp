#include "ToeeFiles.h"
#include "ByteReader.h"
#include "ByteWriter.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace samplemodel;

namespace {

SkmDesc smallSkm() {
    SkmDesc skm;
    skm.bones = {{"root", -1}, {"arm", 0}};
    skm.materialPaths = {"art/meshes/sample/skin.mdf"};
    for (int i = 0; i < 3; ++i) {
        SkmVertexDesc vertex;
        vertex.position = {1.0f + i, 2, 3};
        vertex.normal = {0, 1, 0};
        vertex.uv = {0.25f, 0.75f};
        vertex.weightCount = 2;
        vertex.boneIndex = {0, 1, 0, 0, 0, 0};
        vertex.boneWeight = {0.5f, 0.5f, 0, 0, 0, 0};
        skm.vertices.push_back(vertex);
    }
    skm.faces = {{0, {0, 2, 1}}};
    return skm;
}

} // namespace

TEST(SkmWriter, HeaderLocatesPackedTables) {
    const std::string bytes = writeSkm(smallSkm());
    ASSERT_EQ(bytes.size(), 40u + 2 * 100 + 128 + 3 * 80 + 8);
    EXPECT_EQ(readInt32(bytes, 0), 2);
    EXPECT_EQ(readInt32(bytes, 4), 40);
    EXPECT_EQ(readInt32(bytes, 8), 1);
    EXPECT_EQ(readInt32(bytes, 12), 240);
    EXPECT_EQ(readInt32(bytes, 16), 3);
    EXPECT_EQ(readInt32(bytes, 20), 368);
    EXPECT_EQ(readInt32(bytes, 24), 1);
    EXPECT_EQ(readInt32(bytes, 28), 608);
}

TEST(SkmWriter, RecordsHoldTheirFieldsAtTheirOffsets) {
    const std::string bytes = writeSkm(smallSkm());
    EXPECT_EQ(readInt16(bytes, 40 + 2), -1);
    EXPECT_EQ(readText(bytes, 40 + 4), "root");
    EXPECT_EQ(readInt16(bytes, 140 + 2), 0);
    EXPECT_EQ(readText(bytes, 140 + 4), "arm");
    EXPECT_EQ(readText(bytes, 240), "art/meshes/sample/skin.mdf");

    const size_t vertex = 368 + 2 * 80;
    EXPECT_EQ(readFloat(bytes, vertex + 0), 3.0f);
    EXPECT_EQ(readFloat(bytes, vertex + 8), 3.0f);
    EXPECT_EQ(readFloat(bytes, vertex + 20), 1.0f);
    EXPECT_EQ(readFloat(bytes, vertex + 32), 0.25f);
    EXPECT_EQ(readFloat(bytes, vertex + 36), 0.75f);
    EXPECT_EQ(readInt16(bytes, vertex + 42), 2);
    EXPECT_EQ(readUint16(bytes, vertex + 46), 1);
    EXPECT_EQ(readFloat(bytes, vertex + 60), 0.5f);

    EXPECT_EQ(readUint16(bytes, 608), 0);
    EXPECT_EQ(readUint16(bytes, 608 + 2), 0);
    EXPECT_EQ(readUint16(bytes, 608 + 4), 2);
    EXPECT_EQ(readUint16(bytes, 608 + 6), 1);
}

TEST(SkmWriter, CutsLongTextsSoThatTheNulFits) {
    SkmDesc skm;
    skm.bones = {{std::string(200, 'b'), -1}};
    skm.materialPaths = {std::string(300, 'm')};
    const std::string bytes = writeSkm(skm);
    EXPECT_EQ(readText(bytes, 40 + 4), std::string(95, 'b'));
    EXPECT_EQ(readText(bytes, 140), std::string(127, 'm'));
}

namespace {

// The key data of one rotation key: bone 1, frame 3, identity rotation.
SkaStreamDesc identityRotationStream() {
    SkaBoneKeyDesc key;
    key.bone = 1;
    key.hasRotation = true;
    key.rotationFrame = 3;
    key.rotationXyzw = {0, 0, 0, 32767};
    SkaStreamDesc stream;
    stream.frameCount = 4;
    stream.frameTime = 3.5f;
    stream.scaleFactor = 1.0f;
    stream.translationFactor = 0.5f;
    stream.frames = {{0, {key}}};
    return stream;
}

SkaDesc oneAnimationSka() {
    SkaDesc ska;
    ska.variationCount = 0;
    SkaBoneDesc bone;
    bone.name = "arm";
    bone.bindScale = {1, 2, 3};
    bone.bindRotationXyzw = {0.5f, 0.25f, 0.125f, 0.75f};
    bone.bindPosition = {4, 5, 6};
    ska.bones = {bone, bone};
    ska.animations = {{"wave", 0, {identityRotationStream()}}};
    return ska;
}

} // namespace

TEST(SkaWriter, HeaderAndBoneTable) {
    const std::string bytes = writeSka(oneAnimationSka());
    EXPECT_EQ(readInt32(bytes, 0), 2);
    EXPECT_EQ(readInt32(bytes, 4), 24);
    EXPECT_EQ(readInt32(bytes, 8), 0);
    EXPECT_EQ(readInt32(bytes, 16), 1);
    EXPECT_EQ(readInt32(bytes, 20), 224);

    const size_t bone = 24 + 100;
    EXPECT_EQ(readText(bytes, bone + 4), "arm");
    EXPECT_EQ(readFloat(bytes, bone + 52), 1.0f);
    EXPECT_EQ(readFloat(bytes, bone + 60), 3.0f);
    EXPECT_EQ(readFloat(bytes, bone + 68), 0.5f);
    EXPECT_EQ(readFloat(bytes, bone + 80), 0.75f);
    EXPECT_EQ(readFloat(bytes, bone + 84), 4.0f);
    EXPECT_EQ(readFloat(bytes, bone + 92), 6.0f);
}

TEST(SkaWriter, StreamKeyDataIsTheWorkedExample) {
    const std::string bytes = writeSka(oneAnimationSka());
    const size_t header = 224;
    EXPECT_EQ(readText(bytes, header), "wave");
    EXPECT_EQ(readUint16(bytes, header + 66), 0);
    EXPECT_EQ(readUint32(bytes, header + 72), 1u);
    EXPECT_EQ(readUint16(bytes, header + 76), 4);
    EXPECT_EQ(readFloat(bytes, header + 80), 3.5f);
    const size_t keyData = header + readInt32(bytes, header + 88);
    EXPECT_EQ(bytes.substr(keyData), workedExampleKeyData);
}

// Offsets inside an animation header count from that header, not from the file start.
TEST(SkaWriter, OffsetsOfLaterAnimationsCountFromTheirOwnHeader) {
    SkaDesc ska = oneAnimationSka();
    ska.animations.push_back(ska.animations[0]);
    ska.animations[1].eventCount = 2;
    ska.animations[1].streams[0].scaleFactor = 4.0f;
    const std::string bytes = writeSka(ska);

    const size_t header = 224 + 236;
    const size_t events = header + readInt32(bytes, header + 68);
    EXPECT_EQ(bytes.substr(events, 2 * 178), std::string(2 * 178, '\0'));
    const size_t keyData = header + readInt32(bytes, header + 88);
    EXPECT_EQ(keyData, events + 2 * 178);
    EXPECT_EQ(readFloat(bytes, keyData), 4.0f);
    EXPECT_EQ(bytes.substr(keyData + 4), workedExampleKeyData.substr(4));
}

TEST(SkaWriter, BoneStatesAndAllChannelsInTheirFixedOrder) {
    SkaStreamDesc stream;
    stream.boneStates = {{3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}};
    SkaBoneKeyDesc key;
    key.bone = 2;
    key.hasScale = key.hasRotation = key.hasTranslation = true;
    key.scaleFrame = 5;
    key.scale = {11, 12, 13};
    key.rotationFrame = 6;
    key.rotationXyzw = {14, 15, 16, 17};
    key.translationFrame = 7;
    key.translation = {-18, 19, 20};
    stream.frames = {{1, {key}}, {2, {}}};

    SkaDesc ska;
    ska.animations = {{"all", 0, {stream}}};
    const std::string bytes = writeSka(ska);
    const size_t at = 24 + readInt32(bytes, 24 + 88) + 8;

    EXPECT_EQ(readUint16(bytes, at), 6);
    EXPECT_EQ(readInt16(bytes, at + 2), 1);
    EXPECT_EQ(readInt16(bytes, at + 20), 10);
    EXPECT_EQ(readUint16(bytes, at + 22), 0xFFFE);
    EXPECT_EQ(readUint16(bytes, at + 24), 2);
    EXPECT_EQ(readUint16(bytes, at + 26), 2 << 4 | 8 | 4 | 2 | 1);
    const std::vector<int16_t> records = {5, 11, 12, 13, 6, 14, 15, 16, 17, 7, -18, 19, 20};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(readInt16(bytes, at + 28 + 2 * i), records[i]) << "record value " << i;
    }
    EXPECT_EQ(readUint16(bytes, at + 54), 4);
    EXPECT_EQ(readUint16(bytes, at + 56), 0xFFFE);
    EXPECT_EQ(bytes.size(), at + 58);
}

TEST(SkaWriter, RefusesMoreStreamsThanTheHeaderHasSlots) {
    SkaDesc ska;
    ska.animations = {{"crowded", 0, std::vector<SkaStreamDesc>(11)}};
    EXPECT_THROW(writeSka(ska), std::invalid_argument);
}

TEST(MdfWriter, TexturesOnLinesOfTheirOwnAfterTextured) {
    const std::string mdf = writeMdf({"art/meshes/sample/skin.tga", "art/meshes/sample/b.tga"});
    EXPECT_EQ(mdf.rfind("Textured\n", 0), 0u);
    EXPECT_NE(mdf.find("\nTexture \"art/meshes/sample/skin.tga\"\n"), std::string::npos);
    EXPECT_LT(mdf.find("skin.tga"), mdf.find("b.tga"));
}

TEST(TgaWriter, UncompressedBottomUpBgra) {
    const std::string tga = writeTga(2, 1, {0x80112233, 0xFF445566});
    ASSERT_EQ(tga.size(), 18u + 8);
    EXPECT_EQ(tga[2], 2);
    EXPECT_EQ(readInt16(tga, 12), 2);
    EXPECT_EQ(readInt16(tga, 14), 1);
    EXPECT_EQ(tga[16], 32);
    EXPECT_EQ(tga[17] & 0x20, 0) << "rows must run from the bottom up";
    EXPECT_EQ(tga.substr(18, 4), std::string("\x33\x22\x11\x80", 4));
}

TEST(TgaWriter, RefusesAPixelCountThatDoesNotFitTheSize) {
    EXPECT_THROW(writeTga(2, 2, {0, 0, 0}), std::invalid_argument);
}
