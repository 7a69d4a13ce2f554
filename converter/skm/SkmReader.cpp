#include "SkmReader.h"

namespace {

SkmHeader decodeHeader(const char* bytes) {
    SkmHeader header;
    header.boneCount = readInt32(bytes, 0);
    header.boneOffset = readInt32(bytes, 4);
    header.materialCount = readInt32(bytes, 8);
    header.materialOffset = readInt32(bytes, 12);
    header.vertexCount = readInt32(bytes, 16);
    header.vertexOffset = readInt32(bytes, 20);
    header.faceCount = readInt32(bytes, 24);
    header.faceOffset = readInt32(bytes, 28);
    return header;
}

SkmBone decodeBone(const char* record) {
    return {readInt16(record, 2), readText(record, 4, skmBoneSize - 4)};
}

SkmMaterial decodeMaterial(const char* record) {
    return {readText(record, 0, skmMaterialSize)};
}

SkmVertex decodeVertex(const char* record) {
    SkmVertex vertex;
    for (std::size_t i = 0; i < 3; ++i) {
        vertex.position[i] = readFloat(record, 4 * i);
        vertex.normal[i] = readFloat(record, 16 + 4 * i);
    }
    vertex.uv = {readFloat(record, 32), readFloat(record, 36)};
    vertex.weightCount = readInt16(record, 42);
    for (std::size_t k = 0; k < 6; ++k) {
        vertex.boneIndex[k] = readUint16(record, 44 + 2 * k);
        vertex.boneWeight[k] = readFloat(record, 56 + 4 * k);
    }
    return vertex;
}

SkmFace decodeFace(const char* record) {
    return {readUint16(record, 0),
            {readUint16(record, 2), readUint16(record, 4), readUint16(record, 6)}};
}

} // namespace

SkmReader::SkmReader(std::string bytes, const std::string& path)
    : SkmReader(ByteStream(std::move(bytes)), path) {}

SkmReader::SkmReader(ByteStream source, const std::string& path)
    : stream(std::move(source)), tables(stream, path),
      skmHeader(decodeHeader(stream.readBlock(0, skmHeaderSize).data())) {}

bool SkmReader::readBones(std::vector<SkmBone>& bones, std::string& error) {
    return tables.read({"bone table", skmHeader.boneCount, skmHeader.boneOffset, skmBoneSize},
                       decodeBone, bones, error);
}

bool SkmReader::readMaterials(std::vector<SkmMaterial>& materials, std::string& error) {
    return tables.read(materialTable(), decodeMaterial, materials, error);
}

bool SkmReader::readEachVertex(const std::function<void(const SkmVertex&)>& visit,
                               std::string& error) {
    return tables.readEach(vertexTable(), decodeVertex, visit, error);
}

bool SkmReader::readEachFace(const std::function<void(const SkmFace&)>& visit, std::string& error) {
    return tables.readEach(faceTable(), decodeFace, visit, error);
}

bool SkmReader::checkMeshTables(std::string& error) const {
    return tables.check(vertexTable(), error) && tables.check(materialTable(), error) &&
           tables.check(faceTable(), error);
}

TableLocation SkmReader::materialTable() const {
    return {"material table", skmHeader.materialCount, skmHeader.materialOffset, skmMaterialSize};
}

TableLocation SkmReader::vertexTable() const {
    return {"vertex table", skmHeader.vertexCount, skmHeader.vertexOffset, skmVertexSize};
}

TableLocation SkmReader::faceTable() const {
    return {"face table", skmHeader.faceCount, skmHeader.faceOffset, skmFaceSize};
}
