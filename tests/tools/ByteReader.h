#pragma once
// Little-endian readers for checking written files field by field at their offsets.

#include <cstdint>
#include <cstring>
#include <string>

inline uint16_t readUint16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(at)) |
                                 static_cast<uint8_t>(bytes.at(at + 1)) << 8);
}

inline int16_t readInt16(const std::string& bytes, size_t at) {
    return static_cast<int16_t>(readUint16(bytes, at));
}

inline uint32_t readUint32(const std::string& bytes, size_t at) {
    return readUint16(bytes, at) | static_cast<uint32_t>(readUint16(bytes, at + 2)) << 16;
}

inline int32_t readInt32(const std::string& bytes, size_t at) {
    return static_cast<int32_t>(readUint32(bytes, at));
}

inline float readFloat(const std::string& bytes, size_t at) {
    const uint32_t bits = readUint32(bytes, at);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The text of a NUL-terminated field.
inline std::string readText(const std::string& bytes, size_t at) {
    return std::string(bytes.c_str() + at);
}
