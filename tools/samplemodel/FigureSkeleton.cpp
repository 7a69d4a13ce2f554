#include "FigureSkeleton.h"

#include <stdexcept>

namespace samplemodel {
namespace {

// +1 for the figure's left side (+X), -1 for its right; mirroring across the YZ plane
// negates x and every turn about Z.
using Side = double;
constexpr Side left = 1;
constexpr Side right = -1;

void addArm(std::vector<FigureBone>& bones, Side side, const std::string& suffix) {
    const auto shoulder = static_cast<int16_t>(bones.size());
    // The shoulder points its +Y outwards, and the upper arm turns back down from there, so
    // each limb bone runs along its own +Y and has a binding rotation of its own.
    bones.push_back({"shoulder" + suffix, chest, {{6 * side, 20, 0}, aboutZ(-90 * side)}});
    bones.push_back({"upperarm" + suffix, shoulder, {{0, 13, 0}, aboutZ(-82 * side)}});
    bones.push_back(
        {"forearm" + suffix, static_cast<int16_t>(shoulder + 1), {{0, 30, 0}, aboutX(12)}});
    bones.push_back({"hand" + suffix, static_cast<int16_t>(shoulder + 2), {{0, 27, 0}, {}}});
}

void addLeg(std::vector<FigureBone>& bones, Side side, const std::string& suffix) {
    const auto thigh = static_cast<int16_t>(bones.size());
    bones.push_back({"thigh" + suffix, pelvis, {{9 * side, -4, 0}, aboutZ(180)}});
    bones.push_back({"shin" + suffix, thigh, {{0, 44, 0}, {}}});
    // Turned so that the foot runs forwards along its +Y, with its +Z up.
    bones.push_back({"foot" + suffix, static_cast<int16_t>(thigh + 1), {{0, 40, 0}, aboutX(90)}});
}

} // namespace

std::vector<FigureBone> figureBones() {
    std::vector<FigureBone> bones = {
        {"pelvis", -1, {{0, 96, 0}, {}}},   {"spine", pelvis, {{0, 8, 0}, {}}},
        {"chest", spine, {{0, 18, 0}, {}}}, {"neck", chest, {{0, 24, 0}, {}}},
        {"head", neck, {{0, 9, 0}, {}}},
    };
    addArm(bones, left, "_l");
    addArm(bones, right, "_r");
    addLeg(bones, left, "_l");
    addLeg(bones, right, "_r");
    return bones;
}

std::vector<Transform> bindTransforms(const std::vector<FigureBone>& bones) {
    std::vector<Transform> transforms;
    for (const FigureBone& bone : bones) {
        transforms.push_back(bone.bind);
    }
    return transforms;
}

std::vector<int16_t> parentIndices(const std::vector<FigureBone>& bones) {
    std::vector<int16_t> parents;
    for (const FigureBone& bone : bones) {
        parents.push_back(bone.parent);
    }
    return parents;
}

std::vector<Transform> toModelSpace(const std::vector<int16_t>& parents,
                                    const std::vector<Transform>& local) {
    std::vector<Transform> model;
    for (size_t i = 0; i < local.size(); ++i) {
        const int16_t parent = parents.at(i);
        if (parent >= static_cast<int16_t>(i)) {
            throw std::invalid_argument("bone " + std::to_string(i) + " comes before its parent " +
                                        std::to_string(parent));
        }
        model.push_back(parent < 0 ? local[i] : compose(model[parent], local[i]));
    }
    return model;
}

} // namespace samplemodel
