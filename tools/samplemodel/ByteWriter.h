#pragma once
// Little-endian appenders for building the game's binary files byte by byte, whatever the
// byte order of the machine that builds them.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace samplemodel {

inline void appendUint16(std::string& bytes, uint16_t value) {
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>(value >> 8));
}

inline void appendInt16(std::string& bytes, int16_t value) {
    appendUint16(bytes, static_cast<uint16_t>(value));
}

inline void appendUint32(std::string& bytes, uint32_t value) {
    appendUint16(bytes, static_cast<uint16_t>(value & 0xFFFF));
    appendUint16(bytes, static_cast<uint16_t>(value >> 16));
}

inline void appendInt32(std::string& bytes, int32_t value) {
    appendUint32(bytes, static_cast<uint32_t>(value));
}

inline void appendFloat(std::string& bytes, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    appendUint32(bytes, bits);
}

template <size_t N> void appendFloats(std::string& bytes, const std::array<float, N>& values) {
    for (float value : values) {
        appendFloat(bytes, value);
    }
}

inline void appendZeros(std::string& bytes, size_t count) {
    bytes.append(count, '\0');
}

// A NUL-terminated text in a fixed-size field: longer texts are cut so that the NUL fits.
inline void appendText(std::string& bytes, const std::string& text, size_t fieldSize) {
    const size_t stored = text.size() < fieldSize ? text.size() : fieldSize - 1;
    bytes.append(text, 0, stored);
    appendZeros(bytes, fieldSize - stored);
}

} // namespace samplemodel
