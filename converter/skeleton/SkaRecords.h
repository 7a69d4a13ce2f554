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

// The channels a decoded key holds. The bone word in the file announces them with other bits
// (see skaBoneWord below).
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

// The byte layout, shared by the reader, the sample-model writer and the tests; docs/formats.md
// describes every field. Offsets count from the start of their record.
constexpr std::size_t skaHeaderSize = 24;
constexpr std::size_t skaBoneSize = 100;
constexpr std::size_t skaAnimationSize = 236;
constexpr std::size_t skaStreamSlots = 10;
constexpr std::size_t skaStreamSlotSize = 16;
constexpr std::size_t skaEventSize = 178;

namespace skaHeaderField {
constexpr std::size_t boneCount = 0;
constexpr std::size_t boneOffset = 4;
constexpr std::size_t variationCount = 8; // bytes 12-15 are unused
constexpr std::size_t animationCount = 16;
constexpr std::size_t animationOffset = 20;
} // namespace skaHeaderField

// Bytes 0-3, 64-67 and 96-99 are unused.
namespace skaBoneField {
constexpr std::size_t name = 4;
constexpr std::size_t nameSize = 48;
constexpr std::size_t bindScale = 52;    // x, y, z
constexpr std::size_t bindRotation = 68; // x, y, z, w
constexpr std::size_t bindPosition = 84; // x, y, z
} // namespace skaBoneField

// Offsets stored in an animation header count from that header's own position.
namespace skaAnimationField {
constexpr std::size_t name = 0;
constexpr std::size_t nameSize = 66;
constexpr std::size_t eventCount = 66;
constexpr std::size_t eventOffset = 68;
constexpr std::size_t streamCount = 72;
constexpr std::size_t streamSlots = 76; // slot s at streamSlots + skaStreamSlotSize * s
} // namespace skaAnimationField

// Bytes 2-3 and 8-11 of a slot are unused.
namespace skaStreamField {
constexpr std::size_t frameCount = 0;
constexpr std::size_t frameTime = 4;
constexpr std::size_t dataOffset = 12;
} // namespace skaStreamField

// The key data of a stream: two float32 factors (scale, translation), then bone states each
// behind a marker (bone << 1), then frame words each followed by bone words with their channel
// records; each list ends with the end word.
namespace skaKeyData {
constexpr uint16_t endWord = 0xFFFE; // -2 read as int16
constexpr std::size_t factorsSize = 8;
constexpr std::size_t boneStateSize = 20;
constexpr double rotationUnit = 32767; // stored rotation components are value × 32767
} // namespace skaKeyData

// The bits of a 16-bit word in the frames: bit 0 set makes it a bone word, whose bits 1-3
// announce the channel records that follow it, in the order scale, rotation, translation, and
// whose bits 4-15 (arithmetic shift) give the bone. A word with bit 0 clear opens a frame.
namespace skaBoneWord {
constexpr uint16_t boneWordBit = 1;
constexpr uint16_t translationBit = 2;
constexpr uint16_t rotationBit = 4;
constexpr uint16_t scaleBit = 8;
constexpr int boneShift = 4;
constexpr int frameShift = 1; // of a frame word, and of a bone state's marker
} // namespace skaBoneWord
