#pragma once

#include "GltfBuffer.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The document being written, its binary data and what the writing had to warn about.
struct GltfDocument {
    nlohmann::json json = nlohmann::json::object();
    GltfBuffer buffer;
    JsonList animations;
    std::vector<std::string> warnings;

    // The whole document as JSON text, its buffer and lists included.
    std::string text() {
        buffer.moveInto(json);
        return jsonWithLists(json,
                             {{"accessors", &buffer.accessorList()}, {"animations", &animations}});
    }

    // Appends an element to the document's array of that name; returns its index.
    int add(const char* array, nlohmann::json element) {
        nlohmann::json& elements = json[array];
        elements.push_back(std::move(element));
        return static_cast<int>(elements.size() - 1);
    }
};
