#include "ByteStream.h"

#include <algorithm>
#include <fstream>
#include <iterator>

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

bool ByteStream::read(void* target, std::size_t count) {
    if (streamFailed) {
        return false;
    }
    const int64_t available = std::max<int64_t>(0, size() - position);
    const auto copied = static_cast<std::size_t>(std::min<int64_t>(available, count));
    if (copied > 0) {
        std::memcpy(target, bytes.data() + position, copied);
    }
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

bool loadFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    file.seekg(0, std::ios::beg);
    if (length <= 0) {
        // A directory or a pipe has no length to ask for; whatever it yields is its content.
        file.clear();
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        return true;
    }
    bytes.resize(static_cast<std::size_t>(length));
    file.read(bytes.data(), length);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return true;
}

std::string readText(const char* record, std::size_t offset, std::size_t fieldSize) {
    const char* field = record + offset;
    return std::string(field, std::find(field, field + fieldSize, '\0'));
}
