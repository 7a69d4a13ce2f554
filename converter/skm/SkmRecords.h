#pragma once

#include <array>
#include <cstdint>
#include <string>

// Records of an SKM file: one skinned mesh with its bones, materials, vertices and faces.
// Integers are little-endian; tables lie where the header says, in any order.

struct SkmHeader {
    int32_t boneCount = 0;
    int32_t boneOffset = 0;
    int32_t materialCount = 0;
    int32_t materialOffset = 0;
    int32_t vertexCount = 0;
    int32_t vertexOffset = 0;
    int32_t faceCount = 0;
    int32_t faceOffset = 0;
};

struct SkmBone {
    int16_t parentIndex = -1; // -1 for a root
    std::string name;
};

struct SkmMaterial {
    std::string path; // the MDF file as the game stored it
};

struct SkmVertex {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};
    std::array<float, 2> uv{};
    int16_t weightCount = 0; // 0 to 6 in a sound file
    std::array<uint16_t, 6> boneIndex{};
    std::array<float, 6> boneWeight{};
};

struct SkmFace {
    uint16_t materialIndex = 0;
    std::array<uint16_t, 3> vertexIndex{};
};

// The byte layout, shared by the reader, the sample-model writer and the tests; docs/formats.md
// describes every field. Offsets count from the start of their record.
constexpr std::size_t skmHeaderSize = 40;
constexpr std::size_t skmBoneSize = 100;
constexpr std::size_t skmMaterialSize = 128;
constexpr std::size_t skmVertexSize = 80;
constexpr std::size_t skmFaceSize = 8;

namespace skmHeaderField {
constexpr std::size_t boneCount = 0;
constexpr std::size_t boneOffset = 4;
constexpr std::size_t materialCount = 8;
constexpr std::size_t materialOffset = 12;
constexpr std::size_t vertexCount = 16;
constexpr std::size_t vertexOffset = 20;
constexpr std::size_t faceCount = 24;
constexpr std::size_t faceOffset = 28;
constexpr std::size_t unused = 32; // 8 bytes up to the end of the header
} // namespace skmHeaderField

namespace skmBoneField {
constexpr std::size_t parentIndex = 2; // bytes 0 and 1 are unused
constexpr std::size_t name = 4;
constexpr std::size_t nameSize = skmBoneSize - name;
} // namespace skmBoneField

namespace skmMaterialField {
constexpr std::size_t path = 0;
constexpr std::size_t pathSize = skmMaterialSize;
} // namespace skmMaterialField

// Bytes 12-15, 28-31 and 40-41 are unused.
namespace skmVertexField {
constexpr std::size_t position = 0;
constexpr std::size_t normal = 16;
constexpr std::size_t uv = 32;
constexpr std::size_t weightCount = 42;
constexpr std::size_t boneIndex = 44;  // weightSlots uint16
constexpr std::size_t boneWeight = 56; // weightSlots float32
constexpr std::size_t weightSlots = 6;
} // namespace skmVertexField

namespace skmFaceField {
constexpr std::size_t materialIndex = 0;
constexpr std::size_t vertexIndex = 2; // three uint16
} // namespace skmFaceField
