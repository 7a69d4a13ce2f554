#include "ByteStream.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Large enough that refilling costs little next to decoding what it holds, small enough to
// count for nothing in the converter's memory.
constexpr std::size_t windowSize = 64 * 1024;

std::streamoff lengthOf(std::ifstream& file) {
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    return length;
}

// A pipe has no length to ask for, so whatever it yields is its content; a directory or a device
// is taken at the length it claims.
std::string readWhole(std::ifstream& file, std::streamoff length) {
    std::string bytes;
    if (length <= 0) {
        file.clear();
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        return bytes;
    }
    bytes.resize(static_cast<std::size_t>(length));
    file.read(bytes.data(), length);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

} // namespace

ByteStream::ByteStream(std::string bytes)
    : window(std::move(bytes)), streamSize(static_cast<int64_t>(window.size())) {}

ByteStream::ByteStream(std::ifstream file, int64_t size)
    : file(std::move(file)), streamSize(size) {}

std::optional<ByteStream> ByteStream::openFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    const std::streamoff length = lengthOf(file);
    std::error_code unknown;
    if (!std::filesystem::is_regular_file(path, unknown)) {
        return ByteStream(readWhole(file, length));
    }
    return ByteStream(std::move(file), std::max<int64_t>(length, 0));
}

void ByteStream::seek(int64_t newPosition) {
    if (streamFailed) {
        return;
    }
    if (newPosition < 0) {
        streamFailed = true;
        return;
    }
    position = newPosition;
}

bool ByteStream::readBeyondWindow(void* target, std::size_t count) {
    if (streamFailed) {
        return false;
    }
    const int64_t available = std::max<int64_t>(0, size() - position);
    const auto wanted = static_cast<std::size_t>(std::min<int64_t>(available, count));
    const std::size_t copied = fetch(static_cast<char*>(target), position, wanted);
    position += static_cast<int64_t>(copied);
    if (copied < count) {
        streamFailed = true;
    }
    return !streamFailed;
}

std::string ByteStream::readBlock(int64_t blockPosition, std::size_t count) {
    std::string block(count, '\0');
    seek(blockPosition);
    read(block.data(), count);
    return block;
}

std::size_t ByteStream::fetch(char* target, int64_t from, std::size_t count) {
    std::size_t copied = 0;
    while (copied < count) {
        const int64_t at = from + static_cast<int64_t>(copied);
        const std::size_t left = count - copied;
        if (!inWindow(at)) {
            if (left >= windowSize) {
                return copied + readFile(target + copied, at, left);
            }
            window.resize(static_cast<std::size_t>(std::min<int64_t>(windowSize, size() - at)));
            window.resize(readFile(window.data(), at, window.size()));
            windowStart = at;
            if (window.empty()) {
                return copied;
            }
        }
        const auto inside = static_cast<std::size_t>(windowStart + window.size() - at);
        const std::size_t taken = std::min(left, inside);
        std::memcpy(target + copied, window.data() + (at - windowStart), taken);
        copied += taken;
    }
    return copied;
}

bool ByteStream::inWindow(int64_t from) const {
    return from >= windowStart && from < windowStart + static_cast<int64_t>(window.size());
}

std::size_t ByteStream::readFile(char* target, int64_t from, std::size_t count) {
    if (!file.is_open()) {
        return 0;
    }
    file.clear();
    file.seekg(from);
    file.read(target, static_cast<std::streamsize>(count));
    const auto got = static_cast<std::size_t>(file.gcount());
    if (got < count) {
        streamSize = from + static_cast<int64_t>(got);
    }
    return got;
}

std::string readText(const char* record, std::size_t offset, std::size_t fieldSize) {
    const char* field = record + offset;
    return std::string(field, std::find(field, field + fieldSize, '\0'));
}
