#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

// Why a file cannot be given to the engine, thrown where the reading finds it.
class FileDamage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the engine's binary resource files field by field, in the order its serializers read
// them: a header (the 16-bit id 0x1000 and a version line), then chunks of a 16-bit id and a
// 32-bit length counted from the chunk's own start. Booleans are one byte, strings end at a line
// break, and the byte order is the one in which the header id reads 0x1000. Reading past the
// end throws FileDamage.
class ChunkReader {
public:
    struct Chunk {
        std::uint16_t id = 0;
        std::uint32_t length = 0;
    };

    // Throws FileDamage when the header id is missing in both byte orders.
    explicit ChunkReader(std::string_view bytes);

    const std::string& version() const { return versionLine; }
    bool atEnd() const { return offset == bytes.size(); }
    std::size_t remaining() const { return bytes.size() - offset; }

    // Whether a chunk follows whose id is one of `ids`. The engine's readers stop a list of
    // chunks at any other id, and also at a chunk header that the file ends with (the engine
    // writes an empty submesh name table last), so that is no chunk to read here either.
    bool nextChunkIsOneOf(std::initializer_list<std::uint16_t> ids) const;
    // Whether nothing is left that the engine's mesh reader would read.
    bool atLastChunkHeaderOrEnd() const;
    Chunk readChunk();

    bool readBool();
    std::uint16_t readUint16();
    std::uint32_t readUint32();
    float readFloat();
    std::string readString();
    void skipFloats(std::size_t count);
    // Skips `count` records of `size` bytes each after making sure the file holds them all.
    void skipRecords(std::uint64_t count, std::uint64_t size, const char* what);

private:
    void need(std::uint64_t size) const;
    template <typename Value> Value readValue();

    std::string_view bytes;
    std::size_t offset = 0;
    bool swapped = false;
    std::string versionLine;
};
