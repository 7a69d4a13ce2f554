#pragma once
// The sample figure's bones in their binding pose: a humanoid standing along +Y with its
// feet at y = 0, facing +Z, so its left side lies towards +X.

#include "Transform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace samplemodel {

// Bone indices, in bone-table order; every parent comes before its children.
enum Bone : uint16_t {
    pelvis,
    spine,
    chest,
    neck,
    head,
    shoulderLeft,
    upperArmLeft,
    forearmLeft,
    handLeft,
    shoulderRight,
    upperArmRight,
    forearmRight,
    handRight,
    thighLeft,
    shinLeft,
    footLeft,
    thighRight,
    shinRight,
    footRight,
    boneCount
};

struct FigureBone {
    std::string name;
    int16_t parent = -1;
    Transform bind; // relative to the parent
};

std::vector<FigureBone> figureBones();

std::vector<Transform> bindTransforms(const std::vector<FigureBone>& bones);
std::vector<int16_t> parentIndices(const std::vector<FigureBone>& bones);

// Composes transforms relative to the parents into model space. Parents must come before
// their children; throws std::invalid_argument otherwise.
std::vector<Transform> toModelSpace(const std::vector<int16_t>& parents,
                                    const std::vector<Transform>& local);

} // namespace samplemodel
