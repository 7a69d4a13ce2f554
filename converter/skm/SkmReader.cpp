#include "SkmReader.h"

namespace {

SkmHeader decodeHeader(const char* bytes) {
    using namespace skmHeaderField;
    SkmHeader header;
    header.boneCount = readInt32(bytes, boneCount);
    header.boneOffset = readInt32(bytes, boneOffset);
    header.materialCount = readInt32(bytes, materialCount);
    header.materialOffset = readInt32(bytes, materialOffset);
    header.vertexCount = readInt32(bytes, vertexCount);
    header.vertexOffset = readInt32(bytes, vertexOffset);
    header.faceCount = readInt32(bytes, faceCount);
    header.faceOffset = readInt32(bytes, faceOffset);
    return header;
}

SkmBone decodeBone(const char* record) {
    using namespace skmBoneField;
    return {readInt16(record, parentIndex), readText(record, name, nameSize)};
}

SkmMaterial decodeMaterial(const char* record) {
    return {readText(record, skmMaterialField::path, skmMaterialField::pathSize)};
}

SkmVertex decodeVertex(const char* record) {
    using namespace skmVertexField;
    SkmVertex vertex;
    for (std::size_t i = 0; i < 3; ++i) {
        vertex.position[i] = readFloat(record, position + 4 * i);
        vertex.normal[i] = readFloat(record, normal + 4 * i);
    }
    vertex.uv = {readFloat(record, uv), readFloat(record, uv + 4)};
    vertex.weightCount = readInt16(record, weightCount);
    for (std::size_t k = 0; k < weightSlots; ++k) {
        vertex.boneIndex[k] = readUint16(record, boneIndex + 2 * k);
        vertex.boneWeight[k] = readFloat(record, boneWeight + 4 * k);
    }
    return vertex;
}

SkmFace decodeFace(const char* record) {
    using namespace skmFaceField;
    return {readUint16(record, materialIndex),
            {readUint16(record, vertexIndex), readUint16(record, vertexIndex + 2),
             readUint16(record, vertexIndex + 4)}};
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
