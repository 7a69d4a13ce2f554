#pragma once
// The bench model's skin: rings of vertices around the bone chain, from its root to its
// last joint, each vertex shared between the two bones it lies between.

#include "ToeeFiles.h"

namespace samplemodel {

struct RingTube {
    int rings = 0;        // at least 2
    int ringVertices = 0; // at least 3
    int bones = 0;        // at least 2
    int materials = 0;    // the rings fall into this many bands, one material each
};

// Fills the vertex and face tables of `skm`.
void buildRingTube(const RingTube& tube, SkmDesc& skm);

} // namespace samplemodel
