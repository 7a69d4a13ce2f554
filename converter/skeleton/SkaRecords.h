#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Records of an SKA file: the bones' binding transforms and the skeletal animations with
// their packed key streams. Integers are little-endian; reals are 32-bit floats.

struct SkaHeader {
    int32_t boneCount = 0;
    int32_t boneOffset = 0;
    int32_t variationCount = 0;
    int32_t animationCount = 0;
    int32_t animationOffset = 0;
};

struct SkaBone {
    std::string name;
    std::array<float, 3> bindScale{};
    std::array<float, 4> bindRotation{}; // stored x, y, z, w
    std::array<float, 3> bindPosition{};
};

// The channels a bone word announces.
enum BoneKeyChannel : uint8_t {
    rotationChannel = 1,
    scaleChannel = 2,
    translationChannel = 4,
};

struct BoneKey {
    uint16_t bone = 0;
    uint8_t channels = 0;
    uint16_t rotationFrame = 0;
    std::array<float, 4> rotation{}; // w, x, y, z
    uint16_t scaleFrame = 0;
    std::array<float, 3> scale{};
    uint16_t translationFrame = 0;
    std::array<float, 3> translation{};
};

struct StreamData {
    uint16_t frameCount = 0;
    float frameTime = 0; // hundredths of a second per frame
    std::vector<BoneKey> keys;
};

struct AnimationData {
    std::string name;
    uint16_t frameCount = 0; // of stream slot 0, which times the whole animation
    float frameTime = 0;
    std::vector<StreamData> streams;
};

constexpr std::size_t skaHeaderSize = 24;
constexpr std::size_t skaBoneSize = 100;
constexpr std::size_t skaAnimationSize = 236;
constexpr std::size_t skaStreamSlots = 10;
