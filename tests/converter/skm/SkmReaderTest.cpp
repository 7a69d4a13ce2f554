#include "skm/SkmReader.h"
#include "TestBytes.h"
#include "ToeeFiles.h"
#include "support/SmallModel.h"

#include <gtest/gtest.h>

namespace {

samplemodel::SkmDesc twoOfEach() {
    samplemodel::SkmDesc skm;
    skm.bones = {{"pelvis", -1}, {"spine", 0}};
    skm.materialPaths = {"art/a.mdf", "art/b.mdf"};
    samplemodel::SkmVertexDesc vertex;
    vertex.position = {1, 2, 3};
    vertex.normal = {0, 1, 0};
    vertex.uv = {0.25f, 0.5f};
    vertex.weightCount = 2;
    vertex.boneIndex = {0, 1, 0, 0, 0, 0};
    vertex.boneWeight = {0.75f, 0.25f, 0, 0, 0, 0};
    skm.vertices = {vertex, vertex};
    skm.faces = {{1, {0, 1, 1}}, {0, {1, 0, 0}}};
    return skm;
}

struct Tables {
    std::vector<SkmBone> bones;
    std::vector<SkmMaterial> materials;
    std::vector<SkmVertex> vertices;
    std::vector<SkmFace> faces;
    std::string error;
};

// Reads in the mesh import's order: vertices, materials, faces; the bones on a pass of their own.
Tables readAll(const std::string& bytes) {
    Tables tables;
    SkmReader(bytes, "test.skm").readBones(tables.bones, tables.error);
    SkmReader reader(bytes, "test.skm");
    reader.readEachVertex([&](const SkmVertex& vertex) { tables.vertices.push_back(vertex); },
                          tables.error) &&
        reader.readMaterials(tables.materials, tables.error) &&
        reader.readEachFace([&](const SkmFace& face) { tables.faces.push_back(face); },
                            tables.error);
    return tables;
}

TEST(SkmReaderTest, ReadsEveryRecordOfASoundFile) {
    const Tables tables = readAll(samplemodel::writeSkm(twoOfEach()));
    EXPECT_EQ(tables.error, "");
    ASSERT_EQ(tables.bones.size(), 2u);
    EXPECT_EQ(tables.bones[1].name, "spine");
    EXPECT_EQ(tables.bones[1].parentIndex, 0);
    EXPECT_EQ(tables.bones[0].parentIndex, -1);
    ASSERT_EQ(tables.materials.size(), 2u);
    EXPECT_EQ(tables.materials[1].path, "art/b.mdf");
    ASSERT_EQ(tables.vertices.size(), 2u);
    const SkmVertex& vertex = tables.vertices[1];
    EXPECT_EQ(vertex.position, (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(vertex.normal, (std::array<float, 3>{0, 1, 0}));
    EXPECT_EQ(vertex.uv, (std::array<float, 2>{0.25f, 0.5f}));
    EXPECT_EQ(vertex.weightCount, 2);
    EXPECT_EQ(vertex.boneIndex[1], 1);
    EXPECT_EQ(vertex.boneWeight[0], 0.75f);
    ASSERT_EQ(tables.faces.size(), 2u);
    EXPECT_EQ(tables.faces[0].materialIndex, 1);
    EXPECT_EQ(tables.faces[1].vertexIndex, (std::array<uint16_t, 3>{1, 0, 0}));
}

TEST(SkmReaderTest, AFileShorterThanItsHeaderReadsAsZeros) {
    std::string bytes;
    samplemodel::appendInt32(bytes, 3);
    samplemodel::appendInt16(bytes, 7); // half of the bone offset
    SkmReader reader(bytes, "short.skm");
    EXPECT_EQ(reader.header().boneCount, 3);
    EXPECT_EQ(reader.header().boneOffset, 7);
    EXPECT_EQ(reader.header().vertexCount, 0);
    std::vector<SkmBone> bones;
    std::string error;
    ASSERT_TRUE(reader.readBones(bones, error));
    ASSERT_EQ(bones.size(), 3u);
    EXPECT_EQ(bones[2].name, "");
    EXPECT_EQ(bones[2].parentIndex, 0);
}

TEST(SkmReaderTest, AfterAShortReadLaterTablesOfThePassReadAsZeros) {
    std::string bytes = samplemodel::writeSkm(twoOfEach());
    // The vertex table, read first, now runs past the end: its first vertex survives.
    patchInt32(bytes, skmHeaderField::vertexOffset, static_cast<int32_t>(bytes.size() - 80));
    const Tables tables = readAll(bytes);
    ASSERT_EQ(tables.vertices.size(), 2u);
    EXPECT_EQ(tables.vertices[1].position, (std::array<float, 3>{0, 0, 0}));
    ASSERT_EQ(tables.materials.size(), 2u);
    EXPECT_EQ(tables.materials[0].path, "") << "read after the stream failed";
    EXPECT_EQ(tables.faces[0].materialIndex, 0);
    EXPECT_EQ(tables.bones[1].name, "spine") << "the bones are read on a pass of their own";
}

TEST(SkmReaderTest, ATableAtOrPastTheEndYieldsZeroRecords) {
    std::string bytes = samplemodel::writeSkm(twoOfEach());
    patchInt32(bytes, skmHeaderField::vertexOffset, static_cast<int32_t>(bytes.size()));
    const Tables tables = readAll(bytes);
    ASSERT_EQ(tables.vertices.size(), 2u);
    EXPECT_EQ(tables.vertices[0].position, (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(tables.materials[1].path, "");
}

TEST(SkmReaderTest, TablesAreReadFromTheirOwnOffsetsInAnyOrder) {
    std::string bytes = samplemodel::writeSkm(twoOfEach());
    // Point both material records at the second one, and the faces at the materials' bytes.
    patchInt32(bytes, skmHeaderField::materialOffset, static_cast<int32_t>(40 + 200 + 128));
    patchInt32(bytes, skmHeaderField::materialCount, 1);
    patchInt32(bytes, skmHeaderField::faceOffset, 0);
    const Tables tables = readAll(bytes);
    EXPECT_EQ(tables.materials[0].path, "art/b.mdf");
    EXPECT_EQ(tables.faces[0].materialIndex, 2); // the low half of the bone count
}

TEST(SkmReaderTest, TextsEndAtTheirFirstNulOrTheirField) {
    samplemodel::SkmDesc skm;
    skm.bones = {{std::string(95, 'b'), -1}};
    std::string bytes = samplemodel::writeSkm(skm);
    bytes[skmHeaderSize + skmBoneField::name + 95] = 'x'; // no NUL left in the record
    bytes[skmHeaderSize + skmBoneField::name + 3] = '\0';
    std::vector<SkmBone> bones;
    std::string error;
    SkmReader(bytes, "t.skm").readBones(bones, error);
    EXPECT_EQ(bones[0].name, "bbb");
    bytes[skmHeaderSize + skmBoneField::name + 3] = 'b';
    bones.clear();
    SkmReader(bytes, "t.skm").readBones(bones, error);
    EXPECT_EQ(bones[0].name, std::string(95, 'b') + "x");
}

TEST(SkmReaderTest, RefusesCountsTheFileCannotHold) {
    std::string bytes(40, '\0');
    patchInt32(bytes, skmHeaderField::vertexCount, 2147483647);
    patchInt32(bytes, skmHeaderField::vertexOffset, 40);
    std::string error;
    EXPECT_FALSE(SkmReader(bytes, "huge.skm").checkMeshTables(error));
    EXPECT_EQ(error, "huge.skm: vertex table at offset 40 claims 2147483647 records of 80 "
                     "bytes; the file has 40 bytes.");

    patchInt32(bytes, skmHeaderField::vertexCount, 0);
    patchInt32(bytes, skmHeaderField::faceCount, -1);
    EXPECT_FALSE(SkmReader(bytes, "negative.skm").checkMeshTables(error));
    EXPECT_NE(error.find("face table at offset 0 claims -1 records"), std::string::npos);
}

// Every prefix of a small model, each in a buffer of its own size (std::string allocates just
// the prefix and its NUL beyond the shortest ones), so that the sanitizers see a read past it.
TEST(SkmReaderTest, EveryPrefixOfAFileReadsAsRecordsOrACleanError) {
    const std::string whole = samplemodel::writeSkm(makeSmallModel().skm);
    for (std::size_t size = 0; size <= whole.size(); ++size) {
        const Tables tables = readAll(whole.substr(0, size));
        SkmReader reader(whole.substr(0, size), "test.skm");
        if (!tables.error.empty()) {
            EXPECT_EQ(tables.error.rfind("test.skm: ", 0), 0u) << size;
            continue;
        }
        EXPECT_EQ(tables.bones.size(), static_cast<std::size_t>(reader.header().boneCount));
        EXPECT_EQ(tables.vertices.size(), static_cast<std::size_t>(reader.header().vertexCount));
        EXPECT_EQ(tables.faces.size(), static_cast<std::size_t>(reader.header().faceCount));
    }
}

} // namespace
