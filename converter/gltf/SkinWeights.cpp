#include "SkinWeights.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t slots = 4;

struct Influence {
    uint16_t bone;
    float weight;
};

// The engine drops the smallest weights beyond four, the earlier of two equal ones first, and
// keeps the rest in the order they were assigned.
void keepLargest(std::vector<Influence>& influences) {
    while (influences.size() > slots) {
        auto smallest = std::min_element(
            influences.begin(), influences.end(),
            [](const Influence& a, const Influence& b) { return a.weight < b.weight; });
        influences.erase(smallest);
    }
}

// A bone named twice adds up, as skinning with both slots would; glTF allows it once.
void mergeSameBones(std::vector<Influence>& influences) {
    for (auto i = influences.begin(); i != influences.end(); ++i) {
        for (auto j = std::next(i); j != influences.end();) {
            if (j->bone == i->bone) {
                i->weight += j->weight;
                j = influences.erase(j);
            } else {
                ++j;
            }
        }
    }
}

void normalise(std::vector<Influence>& influences) {
    float total = 0;
    for (const Influence& influence : influences) {
        total += influence.weight;
    }
    for (Influence& influence : influences) {
        influence.weight /= total;
    }
    auto largest = std::max_element(
        influences.begin(), influences.end(),
        [](const Influence& a, const Influence& b) { return a.weight < b.weight; });
    float others = 0;
    for (auto i = influences.begin(); i != influences.end(); ++i) {
        others += i == largest ? 0.0f : i->weight;
    }
    largest->weight = 1.0f - others;
}

std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what;
}

} // namespace

SkinWeights skinWeights(const Ogre::Mesh::VertexBoneAssignmentList& assignments,
                        std::size_t vertexCount, std::size_t boneCount, uint16_t rootBone) {
    SkinWeights result;
    result.joints.reserve(vertexCount * slots);
    result.weights.reserve(vertexCount * slots);
    std::size_t unusable = 0;
    std::size_t unweighted = 0;
    // The assignments come by vertex; one list, filled vertex after vertex, holds the
    // influences of the vertex at hand.
    std::vector<Influence> influences;
    auto next = assignments.begin();
    for (std::size_t vertex = 0; vertex < vertexCount; ++vertex) {
        influences.clear();
        for (; next != assignments.end() && next->first == vertex; ++next) {
            const Ogre::VertexBoneAssignment& assignment = next->second;
            const float weight = assignment.weight;
            if (weight == 0) {
                continue; // moves nothing, wherever it points
            }
            if (assignment.boneIndex >= boneCount || !std::isfinite(weight) || weight < 0) {
                ++unusable;
                continue;
            }
            influences.push_back({assignment.boneIndex, weight});
        }
        if (influences.empty()) {
            influences.push_back({rootBone, 1.0f});
            ++unweighted;
        }
        keepLargest(influences);
        mergeSameBones(influences);
        normalise(influences);
        influences.resize(slots, {0, 0.0f});
        for (const Influence& influence : influences) {
            result.joints.push_back(influence.bone);
            result.weights.push_back(influence.weight);
        }
    }
    // What is left names vertices the model does not have.
    unusable += std::count_if(next, assignments.end(),
                              [](const auto& assignment) { return assignment.second.weight != 0; });
    if (unusable > 0) {
        result.warnings.push_back(
            counted(unusable, "bone assignments name no vertex or bone of the model, or a weight "
                              "below 0 or not a number; they are left out."));
    }
    if (unweighted > 0) {
        result.warnings.push_back(counted(unweighted, "vertices have no bone weight; they are "
                                                      "bound to the root bone."));
    }
    return result;
}
