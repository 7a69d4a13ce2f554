#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// A .glb taken apart by the container's rules alone: header, JSON chunk, BIN chunk.
struct Glb {
    nlohmann::json json;
    std::string bin;

    // The components of an accessor's elements, one after another, whatever their type.
    std::vector<double> values(int accessor) const;
    // The bytes of a buffer view.
    std::string viewBytes(int view) const;
};

// Throws std::runtime_error naming the first rule of the container that the bytes break.
Glb parseGlb(const std::string& bytes);
