#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

// A file's bytes read the way a binary input stream reads them: a read that runs past the
// end, or a seek to a negative position, leaves the stream failed, and from then on every
// seek and read does nothing. Buffers are zero-filled first, so missing bytes read as zero.
class ByteStream {
public:
    // Bytes held whole in memory.
    explicit ByteStream(std::string bytes);

    // A file read through a window of a few kilobytes, so that a large file is not held whole;
    // none when it cannot be opened. What is not a regular file, a pipe or a directory, is read
    // whole at once. A file that shrinks while it is read ends where it ends.
    static std::optional<ByteStream> openFile(const std::string& path);

    int64_t size() const { return streamSize; }
    bool failed() const { return streamFailed; }

    void seek(int64_t position);

    // Reads count bytes into target, which the caller has zero-filled; false on a short read.
    bool read(void* target, std::size_t count) {
        // The key streams are read a few bytes at a time, nearly always inside the window.
        const int64_t offset = position - windowStart;
        if (!streamFailed && offset >= 0 &&
            static_cast<std::size_t>(offset) + count <= window.size()) {
            std::memcpy(target, window.data() + offset, count);
            position += static_cast<int64_t>(count);
            return true;
        }
        return readBeyondWindow(target, count);
    }

    // One absolute seek and one read into a fresh zero-filled buffer.
    std::string readBlock(int64_t position, std::size_t count);

private:
    ByteStream(std::ifstream file, int64_t size);

    bool readBeyondWindow(void* target, std::size_t count);
    // Copies up to count bytes from position `from`; fewer only when the file has shrunk.
    std::size_t fetch(char* target, int64_t from, std::size_t count);
    bool inWindow(int64_t from) const;
    std::size_t readFile(char* target, int64_t from, std::size_t count);

    std::ifstream file; // closed when the bytes are held whole
    std::string window; // the bytes from windowStart on
    int64_t windowStart = 0;
    int64_t streamSize;
    int64_t position = 0;
    bool streamFailed = false;
};

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
