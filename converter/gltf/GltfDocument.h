#pragma once

#include "GltfBuffer.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// The document being written, its binary data and what the writing had to warn about.
struct GltfDocument {
    nlohmann::json json = nlohmann::json::object();
    GltfBuffer buffer;
    std::vector<std::string> warnings;

    // Appends an element to the document's array of that name; returns its index.
    int add(const char* array, nlohmann::json element) {
        nlohmann::json& elements = json[array];
        elements.push_back(std::move(element));
        return static_cast<int>(elements.size() - 1);
    }
};
