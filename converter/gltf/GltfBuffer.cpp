#include "GltfBuffer.h"

namespace {

constexpr std::size_t alignment = 4;

void padTo4(std::string& bytes, char filler) {
    bytes.append((alignment - bytes.size() % alignment) % alignment, filler);
}

void appendUint32(std::string& bytes, uint32_t value) {
    char little[4];
    for (int i = 0; i < 4; ++i) {
        little[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    bytes.append(little, 4);
}

void appendChunk(std::string& glb, uint32_t type, const std::string& content) {
    appendUint32(glb, static_cast<uint32_t>(content.size()));
    appendUint32(glb, type);
    glb += content;
}

} // namespace

int GltfBuffer::addView(const void* bytes, std::size_t size, ViewTarget target) {
    padTo4(data, '\0');
    nlohmann::json view = {{"buffer", 0}, {"byteOffset", data.size()}, {"byteLength", size}};
    if (target != ViewTarget::none) {
        view["target"] = static_cast<int>(target);
    }
    data.append(static_cast<const char*>(bytes), size);
    views.push_back(std::move(view));
    return static_cast<int>(views.size() - 1);
}

int GltfBuffer::addAccessor(int view, int componentType, std::size_t count, AccessorType type) {
    accessors.push_back({{"bufferView", view},
                         {"componentType", componentType},
                         {"count", count},
                         {"type", type.name}});
    return static_cast<int>(accessors.size() - 1);
}

void GltfBuffer::writeInto(nlohmann::json& document) const {
    if (data.empty()) {
        return; // a buffer of no bytes is not allowed
    }
    document["buffers"] = {{{"byteLength", data.size()}}};
    document["bufferViews"] = views;
    document["accessors"] = accessors;
}

std::string packGlb(const nlohmann::json& document, const std::string& bin) {
    std::string json = document.dump();
    padTo4(json, ' ');
    std::string binChunk = bin;
    padTo4(binChunk, '\0');

    constexpr uint32_t magic = 0x46546C67; // "glTF"
    constexpr uint32_t jsonChunk = 0x4E4F534A;
    constexpr uint32_t binaryChunk = 0x004E4942;
    constexpr std::size_t headerSize = 12;
    constexpr std::size_t chunkHeaderSize = 8;
    const std::size_t total = headerSize + chunkHeaderSize + json.size() +
                              (bin.empty() ? 0 : chunkHeaderSize + binChunk.size());
    std::string glb;
    glb.reserve(total);
    appendUint32(glb, magic);
    appendUint32(glb, 2);
    appendUint32(glb, static_cast<uint32_t>(total));
    appendChunk(glb, jsonChunk, json);
    if (!bin.empty()) {
        appendChunk(glb, binaryChunk, binChunk);
    }
    return glb;
}
