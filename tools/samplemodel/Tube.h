#pragma once
// A body segment: a closed, tapered tube of elliptic cross-section running along its bone's
// +Y axis, skinned to that bone and, near the joint, partly to the bone's parent.

#include "ToeeFiles.h"
#include "Transform.h"

#include <vector>

namespace samplemodel {

struct Ring {
    double y = 0; // along the bone, in ascending order from ring to ring
    double halfX = 1;
    double halfZ = 1;
    double ownWeight = 1; // the parent takes the rest, which smooths the bend at the joint
};

struct Tube {
    uint16_t bone = 0;
    uint16_t material = 0;
    double centerX = 0;
    double centerZ = 0;
    std::vector<Ring> rings; // at least two
};

// Appends the tube's vertices and faces to `skm`, placed in model space by the bone's
// binding transform. Faces wind counter-clockwise seen from outside. Throws
// std::length_error when the vertices no longer fit 16-bit face indices.
void appendTube(const Tube& tube, const Transform& boneToModel, int16_t parent, SkmDesc& skm);

} // namespace samplemodel
