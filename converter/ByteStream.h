#pragma once

#include <cstdint>
#include <cstring>
#include <string>

// A file's bytes read the way a binary input stream reads them: a read that runs past the
// end, or a seek to a negative position, leaves the stream failed, and from then on every
// seek and read does nothing. Buffers are zero-filled first, so missing bytes read as zero.
class ByteStream {
public:
    explicit ByteStream(std::string bytes) : bytes(std::move(bytes)) {}

    int64_t size() const { return static_cast<int64_t>(bytes.size()); }
    bool failed() const { return streamFailed; }

    void seek(int64_t position);

    // Reads count bytes into target, which the caller has zero-filled; false on a short read.
    bool read(void* target, std::size_t count);

    // One absolute seek and one read into a fresh zero-filled buffer.
    std::string readBlock(int64_t position, std::size_t count);

private:
    std::string bytes;
    int64_t position = 0;
    bool streamFailed = false;
};

// Opens a file and reads it whole; false when it cannot be opened.
bool loadFile(const std::string& path, std::string& bytes);

// Little-endian fields of a record, at a byte offset inside it.
inline uint16_t readUint16(const char* record, std::size_t offset) {
    const auto* b = reinterpret_cast<const unsigned char*>(record + offset);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
inline int16_t readInt16(const char* record, std::size_t offset) {
    return static_cast<int16_t>(readUint16(record, offset));
}
inline uint32_t readUint32(const char* record, std::size_t offset) {
    const auto* b = reinterpret_cast<const unsigned char*>(record + offset);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
           static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
}
inline int32_t readInt32(const char* record, std::size_t offset) {
    return static_cast<int32_t>(readUint32(record, offset));
}
inline float readFloat(const char* record, std::size_t offset) {
    const uint32_t bits = readUint32(record, offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The text of a fixed-size field up to its first NUL, or the whole field when it has none.
std::string readText(const char* record, std::size_t offset, std::size_t fieldSize);
