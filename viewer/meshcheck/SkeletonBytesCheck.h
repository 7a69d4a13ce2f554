#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the structural check of a .skeleton file found.
struct SkeletonCheck {
    std::string fault; // why the engine must not read the file, or empty when sound
    std::uint32_t boneCount = 0;
};

// Walks a .skeleton file (formats 1.10 and 1.80) in the order the engine's reader reads it.
// Refused are what the engine takes on trust and later stumbles over: bone handles with gaps
// (the engine keeps an empty slot and follows it) or past its limit of 256, parents that are
// missing or make a loop, tracks of missing bones, names given twice, and links to the
// animations of another skeleton, whose bones this check cannot see.
SkeletonCheck checkSkeletonBytes(std::string_view bytes);
