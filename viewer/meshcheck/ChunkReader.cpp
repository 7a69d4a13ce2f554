#include "ChunkReader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t headerId = 0x1000;
constexpr std::size_t chunkHeaderSize = 6;

std::uint16_t swapBytes(std::uint16_t value) {
    return static_cast<std::uint16_t>(value << 8 | value >> 8);
}

} // namespace

ChunkReader::ChunkReader(std::string_view fileBytes) : bytes(fileBytes) {
    const std::uint16_t id = readUint16();
    if (id != headerId) {
        if (id != swapBytes(headerId))
            throw FileDamage("its header is missing");
        swapped = true;
    }
    versionLine = readString();
}

bool ChunkReader::nextChunkIsOneOf(std::initializer_list<std::uint16_t> ids) const {
    if (remaining() <= chunkHeaderSize)
        return false;
    std::uint16_t id = 0;
    std::memcpy(&id, bytes.data() + offset, sizeof id);
    if (swapped)
        id = swapBytes(id);
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool ChunkReader::atLastChunkHeaderOrEnd() const {
    return remaining() == 0 || remaining() == chunkHeaderSize;
}

ChunkReader::Chunk ChunkReader::readChunk() {
    Chunk chunk;
    chunk.id = readUint16();
    chunk.length = readUint32();
    return chunk;
}

bool ChunkReader::readBool() {
    const auto value = readValue<std::uint8_t>();
    if (value > 1)
        throw FileDamage("it holds a truth value of " + std::to_string(value));
    return value == 1;
}

std::uint16_t ChunkReader::readUint16() {
    return readValue<std::uint16_t>();
}

std::uint32_t ChunkReader::readUint32() {
    return readValue<std::uint32_t>();
}

float ChunkReader::readFloat() {
    const std::uint32_t raw = readUint32();
    float value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

std::string ChunkReader::readString() {
    const std::size_t end = bytes.find('\n', offset);
    if (end == std::string_view::npos)
        throw FileDamage("it is cut short in a name");
    std::string text(bytes.substr(offset, end - offset));
    offset = end + 1;
    return text;
}

void ChunkReader::skipFloats(std::size_t count) {
    skipRecords(count, sizeof(float), "numbers");
}

void ChunkReader::skipRecords(std::uint64_t count, std::uint64_t size, const char* what) {
    if (count > remaining() / size)
        throw FileDamage("it counts " + std::to_string(count) + " " + what +
                         ", more than the file holds");
    offset += static_cast<std::size_t>(count * size);
}

void ChunkReader::need(std::uint64_t size) const {
    if (size > remaining())
        throw FileDamage("it is cut short");
}

template <typename Value> Value ChunkReader::readValue() {
    need(sizeof(Value));
    unsigned char raw[sizeof(Value)];
    std::memcpy(raw, bytes.data() + offset, sizeof raw);
    offset += sizeof raw;
    if (swapped)
        std::reverse(raw, raw + sizeof raw);
    Value value;
    std::memcpy(&value, raw, sizeof value);
    return value;
}
