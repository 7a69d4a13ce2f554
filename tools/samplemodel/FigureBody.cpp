#include "FigureBody.h"

#include "Tube.h"

namespace samplemodel {
namespace {

// Rings that start a segment at its joint share their weight with the parent bone.
constexpr double joint = 0.5;

std::vector<Tube> trunkTubes() {
    return {
        {pelvis, cloth, 0, 0, {{-10, 14, 10}, {0, 15, 10.5}, {8, 13.5, 9.5}}},
        {spine, cloth, 0, 0, {{0, 13.5, 9.5, joint}, {9, 13, 9}, {18, 14, 10}}},
        {chest, cloth, 0, 0, {{0, 14, 10, joint}, {10, 16, 11}, {20, 17, 10.5}, {24, 12, 8}}},
        {neck, skin, 0, 0, {{0, 5, 5, joint}, {10, 4.5, 4.5}}},
        {head,
         skin,
         0,
         1,
         {{-1, 5, 6, joint}, {2, 8, 9}, {8, 9.5, 11}, {16, 9.5, 10.5}, {22, 7.5, 8.5}, {25, 4, 5}}},
    };
}

// The bones of one side follow each other in the same order on both sides.
std::vector<Tube> limbTubes(uint16_t shoulder, uint16_t thigh) {
    return {
        {shoulder, cloth, 0, 0, {{0, 5, 5.5, joint}, {13, 5.5, 5.5}}},
        {uint16_t(shoulder + 1), cloth, 0, 0, {{0, 5.5, 5.5, joint}, {15, 5, 5}, {30, 4.2, 4.2}}},
        {uint16_t(shoulder + 2), cloth, 0, 0, {{0, 4.2, 4.2, joint}, {14, 4, 4}, {27, 3, 3.2}}},
        // The palm faces the thigh: thin across X, broad along Z.
        {uint16_t(shoulder + 3),
         skin,
         0,
         0,
         {{0, 2, 3.2, joint}, {8, 2, 4.2}, {15, 1.6, 3.2}, {17, 1, 2}}},
        {thigh, cloth, 0, 0, {{0, 8, 8, joint}, {22, 6.8, 6.8}, {44, 5.5, 5.5}}},
        {uint16_t(thigh + 1), cloth, 0, 0, {{0, 5.5, 5.5, joint}, {14, 5.2, 5.8}, {40, 3.5, 3.5}}},
        // The foot hangs below its ankle joint (its +Z is up) and runs from heel to toe.
        {uint16_t(thigh + 2), leather, 0, -4, {{-5, 4, 4}, {0, 4.5, 4}, {12, 5, 4}, {19, 4, 3}}},
    };
}

std::vector<Tube> figureTubes() {
    std::vector<Tube> tubes = trunkTubes();
    for (const auto& [shoulder, thigh] :
         {std::pair{shoulderLeft, thighLeft}, std::pair{shoulderRight, thighRight}}) {
        const std::vector<Tube> limbs = limbTubes(shoulder, thigh);
        tubes.insert(tubes.end(), limbs.begin(), limbs.end());
    }
    return tubes;
}

} // namespace

const std::vector<std::string>& materialNames() {
    static const std::vector<std::string> names = {"skin", "cloth", "leather"};
    return names;
}

void buildFigureBody(const std::vector<FigureBone>& bones, SkmDesc& skm) {
    const std::vector<Transform> model = toModelSpace(parentIndices(bones), bindTransforms(bones));
    for (const Tube& tube : figureTubes()) {
        appendTube(tube, model.at(tube.bone), bones.at(tube.bone).parent, skm);
    }
}

} // namespace samplemodel
