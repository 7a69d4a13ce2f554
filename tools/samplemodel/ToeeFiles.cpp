// The text materials, the textures and the file output; the binary model files have writers
// of their own (SkmWriter.cpp, SkaWriter.cpp).

#include "ToeeFiles.h"

#include "ByteWriter.h"

#include <fstream>
#include <stdexcept>

namespace samplemodel {

// "Textured" selects the textured shader; every texture follows on a line of its own. The
// colour lines are typical of the game's files and carry nothing a texture-only reader needs.
std::string writeMdf(const std::vector<std::string>& texturePaths) {
    std::string text = "Textured\n";
    for (const std::string& path : texturePaths) {
        text += "Texture \"" + path + "\"\n";
    }
    text += "Color 255 255 255 255\n";
    text += "Specular 255 255 255\n";
    text += "SpecularPower 40\n";
    return text;
}

namespace {

constexpr uint8_t uncompressedTrueColour = 2;
constexpr uint8_t alphaBits = 8; // descriptor bit 5 clear: the first row is the bottom one

void appendTgaHeader(std::string& bytes, int width, int height) {
    bytes.push_back(0); // no image id
    bytes.push_back(0); // no colour map
    bytes.push_back(static_cast<char>(uncompressedTrueColour));
    appendZeros(bytes, 5); // colour map fields: no colour map
    appendInt16(bytes, 0); // x origin
    appendInt16(bytes, 0); // y origin
    appendInt16(bytes, static_cast<int16_t>(width));
    appendInt16(bytes, static_cast<int16_t>(height));
    bytes.push_back(32);
    bytes.push_back(static_cast<char>(alphaBits));
}

} // namespace

// TGA stores each pixel as B, G, R, A, which is an ARGB word in little-endian order.
std::string writeTga(int width, int height, const std::vector<uint32_t>& argbPixels) {
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF ||
        argbPixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        throw std::invalid_argument("a " + std::to_string(width) + "x" + std::to_string(height) +
                                    " TGA cannot hold " + std::to_string(argbPixels.size()) +
                                    " pixels");
    }
    std::string bytes;
    appendTgaHeader(bytes, width, height);
    for (uint32_t pixel : argbPixels) {
        appendUint32(bytes, pixel);
    }
    return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace samplemodel
