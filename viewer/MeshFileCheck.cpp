#include "MeshFileCheck.h"

#include <cstdint>

namespace {

constexpr std::uint16_t headerChunkId = 0x1000;

} // namespace

std::string meshFileFault(Ogre::DataStream& file) {
    const size_t fileSize = file.size();
    std::uint16_t headerId = 0;
    if (file.read(&headerId, sizeof headerId) != sizeof headerId)
        return "the file is too short to be a mesh";
    if (headerId != headerChunkId)
        return ""; // another byte order, or no mesh at all: the engine's reader says which
    file.getLine();
    std::uint16_t meshChunkId = 0;
    std::uint32_t meshChunkLength = 0;
    const size_t meshChunkStart = file.tell();
    if (file.read(&meshChunkId, sizeof meshChunkId) != sizeof meshChunkId ||
        file.read(&meshChunkLength, sizeof meshChunkLength) != sizeof meshChunkLength)
        return "the file ends before its mesh begins";
    if (meshChunkLength > fileSize - meshChunkStart)
        return "the file is shorter than its mesh (cut short?)";
    return "";
}
