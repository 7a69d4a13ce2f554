#pragma once
// Writers for the game's model files (SKM, SKA, MDF) and for plain TGA textures.
// They turn simple descriptions into the exact bytes the game stores, so the sample
// model and the tests' fixtures are built from code rather than checked-in binaries.
//
// The descriptions below are records of their own, not the converter's readers' records: a
// writer that shared the readers' structs and encoding could repeat a reader's mistake and
// the round-trip tests would still pass. Only the layout constants are shared.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace samplemodel {

// ---- SKM ----------------------------------------------------------------

struct SkmBoneDesc {
    std::string name; // at most 95 bytes are stored; the record adds the NUL
    int16_t parent = -1;
};

struct SkmVertexDesc {
    std::array<float, 3> position{};
    std::array<float, 3> normal{};
    std::array<float, 2> uv{};
    int16_t weightCount = 0;
    std::array<uint16_t, 6> boneIndex{};
    std::array<float, 6> boneWeight{};
};

struct SkmFaceDesc {
    uint16_t materialIndex = 0;
    std::array<uint16_t, 3> vertexIndex{};
};

struct SkmDesc {
    std::vector<SkmBoneDesc> bones;
    std::vector<std::string> materialPaths; // at most 127 bytes each
    std::vector<SkmVertexDesc> vertices;
    std::vector<SkmFaceDesc> faces;
};

// Header, then bones, materials, vertices, faces, each table right after the previous one.
std::string writeSkm(const SkmDesc& skm);

// ---- SKA ----------------------------------------------------------------

struct SkaBoneDesc {
    std::string name; // at most 47 bytes
    std::array<float, 3> bindScale{1, 1, 1};
    std::array<float, 4> bindRotationXyzw{0, 0, 0, 1};
    std::array<float, 3> bindPosition{};
};

// One bone word with the channel records that follow it. Values are the stored 16-bit
// integers; the reader multiplies them by the stream's factors (rotations by 1/32767).
struct SkaBoneKeyDesc {
    uint16_t bone = 0;
    bool hasScale = false;
    int16_t scaleFrame = 0;
    std::array<int16_t, 3> scale{};
    bool hasRotation = false;
    int16_t rotationFrame = 0;
    std::array<int16_t, 4> rotationXyzw{};
    bool hasTranslation = false;
    int16_t translationFrame = 0;
    std::array<int16_t, 3> translation{};
};

struct SkaFrameDesc {
    uint16_t frame = 0; // written as the frame word frame << 1
    std::vector<SkaBoneKeyDesc> keys;
};

struct SkaBoneStateDesc {
    uint16_t bone = 0;                // written as the marker bone << 1
    std::array<int16_t, 10> values{}; // scale xyz, rotation xyzw, translation xyz
};

struct SkaStreamDesc {
    uint16_t frameCount = 0;
    float frameTime = 0; // hundredths of a second per frame
    float scaleFactor = 1;
    float translationFactor = 1;
    std::vector<SkaBoneStateDesc> boneStates;
    std::vector<SkaFrameDesc> frames;
};

struct SkaAnimationDesc {
    std::string name;                   // at most 65 bytes
    uint16_t eventCount = 0;            // events are written as zero bytes
    std::vector<SkaStreamDesc> streams; // at most 10
};

struct SkaDesc {
    int32_t variationCount = 0;
    std::vector<SkaBoneDesc> bones;
    std::vector<SkaAnimationDesc> animations;
};

// Header, bone table, animation header table, then per animation its events and the key
// data of its streams. Offsets inside an animation header count from that header. Throws
// std::invalid_argument for an animation with more than 10 streams.
std::string writeSka(const SkaDesc& ska);

// ---- MDF and textures ---------------------------------------------------

// A material definition naming one texture per path, in the game's text format.
std::string writeMdf(const std::vector<std::string>& texturePaths);

// An uncompressed 32-bit TGA of one colour per pixel, rows from the bottom up: the pixels
// are taken in that order, bottom row first, each row left to right. Throws
// std::invalid_argument when their number is not width × height.
std::string writeTga(int width, int height, const std::vector<uint32_t>& argbPixels);

// Writes bytes to a file, throwing std::runtime_error naming the path on failure.
void writeFile(const std::string& path, const std::string& bytes);

} // namespace samplemodel
