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

constexpr std::size_t skmHeaderSize = 40;
constexpr std::size_t skmBoneSize = 100;
constexpr std::size_t skmMaterialSize = 128;
constexpr std::size_t skmVertexSize = 80;
constexpr std::size_t skmFaceSize = 8;
