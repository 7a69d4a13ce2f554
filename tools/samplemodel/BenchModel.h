#pragma once
// Models of a chosen size for measuring the converter and the viewer: a tube of rings
// skinned to a chain of bones, with keys for every bone on every frame of every animation.

#include "SampleFigure.h"

#include <string>

constexpr int benchRingVertices = 40;

struct BenchModelSize {
    std::string name;
    int vertices = 0; // a multiple of benchRingVertices, at most 65,536
    int bones = 0;    // at least 2
    int animations = 0;
    int frames = 0;    // per animation
    int materials = 0; // at least 1
};

// 20,000 vertices, 120 bones, 150 animations of 60 frames, 4 materials.
BenchModelSize bigModelSize();

// 2,000 vertices, 60 bones, 60 animations of 30 frames, 4 materials.
BenchModelSize typicalModelSize();

// Throws std::invalid_argument for a size that the rules above do not allow.
SampleModel makeBenchModel(const BenchModelSize& size);
