// The SKM writer: a 40-byte header, then the bone, material, vertex and face tables packed
// one after another.

#include "ByteWriter.h"
#include "ToeeFiles.h"
#include "skm/SkmRecords.h"

namespace samplemodel {
namespace {

constexpr auto headerSize = static_cast<int32_t>(skmHeaderSize);
constexpr auto boneSize = static_cast<int32_t>(skmBoneSize);
constexpr auto materialSize = static_cast<int32_t>(skmMaterialSize);
constexpr auto vertexSize = static_cast<int32_t>(skmVertexSize);

void appendTableEntry(std::string& bytes, size_t count, int32_t offset) {
    appendInt32(bytes, static_cast<int32_t>(count));
    appendInt32(bytes, offset);
}

void appendHeader(std::string& bytes, const SkmDesc& skm) {
    const int32_t boneOffset = headerSize;
    const int32_t materialOffset = boneOffset + boneSize * static_cast<int32_t>(skm.bones.size());
    const int32_t vertexOffset =
        materialOffset + materialSize * static_cast<int32_t>(skm.materialPaths.size());
    const int32_t faceOffset =
        vertexOffset + vertexSize * static_cast<int32_t>(skm.vertices.size());
    appendTableEntry(bytes, skm.bones.size(), boneOffset);
    appendTableEntry(bytes, skm.materialPaths.size(), materialOffset);
    appendTableEntry(bytes, skm.vertices.size(), vertexOffset);
    appendTableEntry(bytes, skm.faces.size(), faceOffset);
    appendZeros(bytes, skmHeaderSize - skmHeaderField::unused);
}

void appendBone(std::string& bytes, const SkmBoneDesc& bone) {
    appendZeros(bytes, skmBoneField::parentIndex);
    appendInt16(bytes, bone.parent);
    appendText(bytes, bone.name, skmBoneField::nameSize);
}

void appendVertex(std::string& bytes, const SkmVertexDesc& vertex) {
    appendFloats(bytes, vertex.position);
    appendZeros(bytes, 4);
    appendFloats(bytes, vertex.normal);
    appendZeros(bytes, 4);
    appendFloats(bytes, vertex.uv);
    appendZeros(bytes, 2);
    appendInt16(bytes, vertex.weightCount);
    for (uint16_t index : vertex.boneIndex) {
        appendUint16(bytes, index);
    }
    appendFloats(bytes, vertex.boneWeight);
}

void appendFace(std::string& bytes, const SkmFaceDesc& face) {
    appendUint16(bytes, face.materialIndex);
    for (uint16_t index : face.vertexIndex) {
        appendUint16(bytes, index);
    }
}

} // namespace

std::string writeSkm(const SkmDesc& skm) {
    std::string bytes;
    appendHeader(bytes, skm);
    for (const SkmBoneDesc& bone : skm.bones) {
        appendBone(bytes, bone);
    }
    for (const std::string& path : skm.materialPaths) {
        appendText(bytes, path, skmMaterialField::pathSize);
    }
    for (const SkmVertexDesc& vertex : skm.vertices) {
        appendVertex(bytes, vertex);
    }
    for (const SkmFaceDesc& face : skm.faces) {
        appendFace(bytes, face);
    }
    return bytes;
}

} // namespace samplemodel
