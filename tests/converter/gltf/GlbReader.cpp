#include "GlbReader.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <stdexcept>

namespace {

uint32_t uint32At(const std::string& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) {
        throw std::runtime_error("the file ends inside a header");
    }
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

template <typename T> double componentAt(const char* bytes) {
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return static_cast<double>(value);
}

struct ComponentType {
    std::size_t size;
    double (*read)(const char*);
};

const ComponentType& componentType(int code) {
    static const std::map<int, ComponentType> types = {
        {5121, {1, componentAt<uint8_t>}},
        {5123, {2, componentAt<uint16_t>}},
        {5125, {4, componentAt<uint32_t>}},
        {5126, {4, componentAt<float>}},
    };
    return types.at(code);
}

std::size_t componentCount(const std::string& type) {
    static const std::map<std::string, std::size_t> counts = {
        {"SCALAR", 1}, {"VEC2", 2}, {"VEC3", 3}, {"VEC4", 4}, {"MAT4", 16}};
    return counts.at(type);
}

} // namespace

Glb parseGlb(const std::string& bytes) {
    if (uint32At(bytes, 0) != 0x46546C67 || uint32At(bytes, 4) != 2) {
        throw std::runtime_error("no glTF 2 header");
    }
    if (uint32At(bytes, 8) != bytes.size()) {
        throw std::runtime_error("the header's length is not the file's");
    }
    const uint32_t jsonLength = uint32At(bytes, 12);
    if (uint32At(bytes, 16) != 0x4E4F534A || jsonLength % 4 != 0 ||
        20 + jsonLength > bytes.size()) {
        throw std::runtime_error("the first chunk is no JSON chunk of whole words");
    }
    Glb glb;
    glb.json = nlohmann::json::parse(bytes.substr(20, jsonLength));
    const std::size_t binStart = 20 + jsonLength;
    if (binStart < bytes.size()) {
        const uint32_t binLength = uint32At(bytes, binStart);
        if (uint32At(bytes, binStart + 4) != 0x004E4942 || binLength % 4 != 0 ||
            binStart + 8 + binLength != bytes.size()) {
            throw std::runtime_error("the second chunk is no BIN chunk ending the file");
        }
        glb.bin = bytes.substr(binStart + 8, binLength);
    }
    return glb;
}

std::string Glb::viewBytes(int view) const {
    const nlohmann::json& bufferView = json.at("bufferViews").at(view);
    return bin.substr(bufferView.value("byteOffset", std::size_t{0}),
                      bufferView.at("byteLength").get<std::size_t>());
}

std::vector<double> Glb::values(int accessor) const {
    const nlohmann::json& description = json.at("accessors").at(accessor);
    const ComponentType& type = componentType(description.at("componentType"));
    const std::size_t components = componentCount(description.at("type"));
    const std::size_t count = description.at("count");
    const std::string view = viewBytes(description.at("bufferView"));
    const std::size_t offset = description.value("byteOffset", std::size_t{0});
    if (offset + count * components * type.size > view.size()) {
        throw std::runtime_error("accessor " + std::to_string(accessor) + " overruns its view");
    }
    std::vector<double> result(count * components);
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i] = type.read(view.data() + offset + i * type.size);
    }
    return result;
}
