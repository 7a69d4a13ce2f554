#include "GltfBuffer.h"

namespace {

constexpr std::size_t alignment = 4;

void appendUint32(std::string& bytes, uint32_t value) {
    char little[4];
    for (int i = 0; i < 4; ++i) {
        little[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    bytes.append(little, 4);
}

std::size_t paddingOf(const std::string& content) {
    return (alignment - content.size() % alignment) % alignment;
}

void padTo4(std::string& bytes, char filler) {
    bytes.append(paddingOf(bytes), filler);
}

constexpr std::size_t chunkHeaderSize = 8;

std::size_t chunkSize(const std::string& content) {
    return chunkHeaderSize + content.size() + paddingOf(content);
}

// A chunk's content is padded with the filler to whole words.
void appendChunk(std::string& glb, uint32_t type, const std::string& content, char filler) {
    appendUint32(glb, static_cast<uint32_t>(content.size() + paddingOf(content)));
    appendUint32(glb, type);
    glb += content;
    glb.append(paddingOf(content), filler);
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

GltfBuffer::Placement GltfBuffer::place(const void* bytes, std::size_t size, ViewTarget target) {
    if (!sharing || target != ViewTarget::none) {
        return {addView(bytes, size, target), 0};
    }
    if (!sharedView) {
        sharedView = addView(bytes, size, target);
        return {*sharedView, 0};
    }
    padTo4(data, '\0');
    const std::size_t offset = data.size() - views[*sharedView]["byteOffset"].get<std::size_t>();
    data.append(static_cast<const char*>(bytes), size);
    return {*sharedView, offset};
}

void GltfBuffer::openSharedView() {
    sharing = true;
}

void GltfBuffer::closeSharedView() {
    if (sharedView) {
        nlohmann::json& view = views[*sharedView];
        view["byteLength"] = data.size() - view["byteOffset"].get<std::size_t>();
    }
    sharing = false;
    sharedView.reset();
}

int GltfBuffer::addAccessor(Placement placement, int componentType, std::size_t count,
                            AccessorType type, const std::string& bounds) {
    std::string accessor = "{\"bufferView\":" + std::to_string(placement.view);
    if (placement.offset > 0) {
        accessor += ",\"byteOffset\":" + std::to_string(placement.offset);
    }
    accessor += ",\"componentType\":" + std::to_string(componentType) +
                ",\"count\":" + std::to_string(count) + ",\"type\":\"" + type.name + "\"" + bounds +
                "}";
    return accessors.add(accessor);
}

void GltfBuffer::moveInto(nlohmann::json& document) {
    if (data.empty()) {
        return; // a buffer of no bytes is not allowed
    }
    document["buffers"] = {{{"byteLength", data.size()}}};
    document["bufferViews"] = std::move(views);
}

std::string packGlb(const std::string& json, const std::string& bin) {
    constexpr uint32_t magic = 0x46546C67; // "glTF"
    constexpr uint32_t jsonChunk = 0x4E4F534A;
    constexpr uint32_t binaryChunk = 0x004E4942;
    constexpr std::size_t headerSize = 12;
    const std::size_t total = headerSize + chunkSize(json) + (bin.empty() ? 0 : chunkSize(bin));
    std::string glb;
    glb.reserve(total);
    appendUint32(glb, magic);
    appendUint32(glb, 2);
    appendUint32(glb, static_cast<uint32_t>(total));
    appendChunk(glb, jsonChunk, json, ' ');
    if (!bin.empty()) {
        appendChunk(glb, binaryChunk, bin, '\0');
    }
    return glb;
}
