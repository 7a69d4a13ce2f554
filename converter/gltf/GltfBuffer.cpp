#include "GltfBuffer.h"

namespace {

constexpr std::size_t alignment = 4;

// The value's bytes, least significant first, at the destination.
void putUint32(char* destination, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        destination[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
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
void writeChunk(const ByteSink& sink, uint32_t type, const std::string& content, char filler) {
    char header[chunkHeaderSize];
    putUint32(header, static_cast<uint32_t>(content.size() + paddingOf(content)));
    putUint32(header + 4, type);
    sink(header, sizeof header);
    sink(content.data(), content.size());
    const char padding[alignment] = {filler, filler, filler, filler};
    sink(padding, paddingOf(content));
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
        padTo4(data, '\0');
        sharedViewStart = data.size();
        sharedView = addView(bytes, size, target);
        return {*sharedView, 0};
    }
    padTo4(data, '\0');
    const std::size_t offset = data.size() - sharedViewStart;
    data.append(static_cast<const char*>(bytes), size);
    return {*sharedView, offset};
}

void GltfBuffer::openSharedView() {
    sharing = true;
}

void GltfBuffer::closeSharedView() {
    if (sharedView) {
        views[*sharedView]["byteLength"] = data.size() - sharedViewStart;
    }
    sharing = false;
    sharedView.reset();
}

int GltfBuffer::addAccessor(Placement placement, int componentType, std::size_t count,
                            AccessorType type, const std::string& bounds) {
    const int index = accessors.add("{\"bufferView\":", placement.view);
    if (placement.offset > 0) {
        accessors.append(",\"byteOffset\":", placement.offset);
    }
    accessors.append(",\"componentType\":", componentType, ",\"count\":", count, ",\"type\":\"",
                     type.name, "\"", bounds, "}");
    return index;
}

void GltfBuffer::moveInto(nlohmann::json& document) {
    if (data.empty()) {
        return; // a buffer of no bytes is not allowed
    }
    document["buffers"] = nlohmann::json::array({{{"byteLength", data.size()}}});
    document["bufferViews"] = std::move(views);
}

void writeGlbFile(const std::string& json, const std::string& bin, const ByteSink& sink) {
    constexpr uint32_t magic = 0x46546C67; // "glTF"
    constexpr uint32_t jsonChunk = 0x4E4F534A;
    constexpr uint32_t binaryChunk = 0x004E4942;
    constexpr std::size_t headerSize = 12;
    const std::size_t total = headerSize + chunkSize(json) + (bin.empty() ? 0 : chunkSize(bin));
    char header[headerSize];
    putUint32(header, magic);
    putUint32(header + 4, 2);
    putUint32(header + 8, static_cast<uint32_t>(total));
    sink(header, sizeof header);
    writeChunk(sink, jsonChunk, json, ' ');
    if (!bin.empty()) {
        writeChunk(sink, binaryChunk, bin, '\0');
    }
}
