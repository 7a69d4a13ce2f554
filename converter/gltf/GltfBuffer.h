#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The shape of one accessor element.
struct AccessorType {
    const char* name; // SCALAR, VEC2, ...
    int components;
};
inline constexpr AccessorType scalarType{"SCALAR", 1};
inline constexpr AccessorType vec2Type{"VEC2", 2};
inline constexpr AccessorType vec3Type{"VEC3", 3};
inline constexpr AccessorType vec4Type{"VEC4", 4};
inline constexpr AccessorType mat4Type{"MAT4", 16};

// What a buffer view holds, for the GPU's binding of it; animation data, matrices and images
// name no target.
enum class ViewTarget { none, vertices = 34962, indices = 34963 };

// The binary chunk of a .glb with its buffer views and accessors. Every view starts on a
// 4-byte boundary, so each accessor is aligned to its component size.
class GltfBuffer {
public:
    // Appends the values as one accessor of count = values / components elements in a view of
    // their own; with bounds, the accessor carries each component's min and max.
    template <typename T>
    int addAccessor(const std::vector<T>& values, AccessorType type, ViewTarget target,
                    bool bounds = false);

    // Appends raw bytes (an image) as a view; returns its index.
    int addView(const std::string& bytes) { return addView(bytes.data(), bytes.size(), {}); }

    // Moves the views and accessors into the document and names the one buffer.
    void writeInto(nlohmann::json& document) const;
    const std::string& bytes() const { return data; }

private:
    int addView(const void* bytes, std::size_t size, ViewTarget target);
    int addAccessor(int view, int componentType, std::size_t count, AccessorType type);

    std::string data;
    nlohmann::json views = nlohmann::json::array();
    nlohmann::json accessors = nlohmann::json::array();
};

// The glTF component type of a C++ value type.
template <typename T> constexpr int componentTypeOf();
template <> constexpr int componentTypeOf<uint8_t>() {
    return 5121;
}
template <> constexpr int componentTypeOf<uint16_t>() {
    return 5123;
}
template <> constexpr int componentTypeOf<uint32_t>() {
    return 5125;
}
template <> constexpr int componentTypeOf<float>() {
    return 5126;
}

template <typename T>
int GltfBuffer::addAccessor(const std::vector<T>& values, AccessorType type, ViewTarget target,
                            bool bounds) {
    const int view = addView(values.data(), values.size() * sizeof(T), target);
    const std::size_t count = values.size() / type.components;
    const int index = addAccessor(view, componentTypeOf<T>(), count, type);
    if (bounds && count > 0) {
        std::vector<T> low(values.begin(), values.begin() + type.components);
        std::vector<T> high = low;
        for (std::size_t i = 0; i < values.size(); ++i) {
            T& lowest = low[i % type.components];
            T& highest = high[i % type.components];
            lowest = std::min(lowest, values[i]);
            highest = std::max(highest, values[i]);
        }
        accessors[index]["min"] = low;
        accessors[index]["max"] = high;
    }
    return index;
}

// A binary glTF file: header, the document as the JSON chunk, then the BIN chunk.
std::string packGlb(const nlohmann::json& document, const std::string& bin);
