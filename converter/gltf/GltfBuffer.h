#pragma once

#include "JsonList.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
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
    // Appends the values as one accessor of count = values / components elements, in a view of
    // their own or the shared view; with bounds, the accessor carries each component's min and
    // max.
    template <typename T>
    int addAccessor(const std::vector<T>& values, AccessorType type, ViewTarget target,
                    bool bounds = false);

    // Makes room for that many bytes of data, so that the data is not moved as it grows.
    void reserve(std::size_t bytes) { data.reserve(bytes); }

    // Appends raw bytes (an image) as a view; returns its index.
    int addView(const std::string& bytes) { return addView(bytes.data(), bytes.size(), {}); }

    // Until the view is closed, accessors without a target go one after another into one view:
    // a model's animations have thousands of small accessors, and a view each would make the
    // file's JSON longer than its data.
    void openSharedView();
    void closeSharedView();

    // Moves the views into the document and names the one buffer; the accessors stay a list.
    void moveInto(nlohmann::json& document);
    const JsonList& accessorList() const { return accessors; }
    // The data, taken out of the buffer.
    std::string takeBytes() { return std::move(data); }

private:
    struct Placement {
        int view;
        std::size_t offset; // within the view
    };
    Placement place(const void* bytes, std::size_t size, ViewTarget target);
    int addView(const void* bytes, std::size_t size, ViewTarget target);
    int addAccessor(Placement placement, int componentType, std::size_t count, AccessorType type,
                    const std::string& bounds);

    std::string data;
    nlohmann::json views = nlohmann::json::array();
    JsonList accessors;
    bool sharing = false;
    std::optional<int> sharedView; // made with the first accessor it takes
    std::size_t sharedViewStart = 0;
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

// The "min" and "max" members of an accessor: each component's least and greatest value.
template <typename T> std::string boundsOf(const std::vector<T>& values, int components) {
    std::vector<T> low(values.begin(), values.begin() + components);
    std::vector<T> high = low;
    for (std::size_t i = 0; i < values.size(); ++i) {
        low[i % components] = std::min(low[i % components], values[i]);
        high[i % components] = std::max(high[i % components], values[i]);
    }
    return ",\"min\":" + nlohmann::json(low).dump() + ",\"max\":" + nlohmann::json(high).dump();
}

template <typename T>
int GltfBuffer::addAccessor(const std::vector<T>& values, AccessorType type, ViewTarget target,
                            bool bounds) {
    const Placement placement = place(values.data(), values.size() * sizeof(T), target);
    const std::size_t count = values.size() / type.components;
    return addAccessor(placement, componentTypeOf<T>(), count, type,
                       bounds && count > 0 ? boundsOf(values, type.components) : "");
}

// Takes the bytes of a file piece by piece, in order.
using ByteSink = std::function<void(const char* bytes, std::size_t size)>;

// A binary glTF file, handed to the sink piece by piece: header, the JSON text as the JSON
// chunk, then the BIN chunk (none when it is empty).
void writeGlbFile(const std::string& json, const std::string& bin, const ByteSink& sink);
