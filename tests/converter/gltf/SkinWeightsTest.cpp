// The skin weights of a vertex against the engine's own reduction of bone assignments.
#include "SkinWeights.h"
#include "support/BuilderEngine.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Assignments = Ogre::Mesh::VertexBoneAssignmentList;
using WeightByBone = std::map<uint16_t, float>;

void assign(Assignments& assignments, std::size_t vertex, uint16_t bone, float weight) {
    assignments.emplace(
        vertex, Ogre::VertexBoneAssignment{static_cast<unsigned int>(vertex), bone, weight});
}

// What one vertex's four slots hold, by bone; checks the slots' own rules on the way.
WeightByBone slotsOf(const SkinWeights& skin, std::size_t vertex) {
    WeightByBone byBone;
    float total = 0;
    for (std::size_t slot = 4 * vertex; slot < 4 * vertex + 4; ++slot) {
        const float weight = skin.weights.at(slot);
        total += weight;
        if (weight == 0) {
            EXPECT_EQ(skin.joints[slot], 0) << "an unused slot names joint 0";
            continue;
        }
        EXPECT_TRUE(byBone.emplace(skin.joints[slot], weight).second)
            << "joint " << skin.joints[slot] << " twice in vertex " << vertex;
    }
    EXPECT_NEAR(total, 1.0f, 2e-7f) << "vertex " << vertex;
    return byBone;
}

WeightByBone engineWeights(const Assignments& rationalised, std::size_t vertex) {
    WeightByBone byBone;
    const auto range = rationalised.equal_range(vertex);
    for (auto i = range.first; i != range.second; ++i) {
        byBone[i->second.boneIndex] += i->second.weight;
    }
    return byBone;
}

void expectSameWeights(const WeightByBone& actual, const WeightByBone& expected,
                       std::size_t vertex) {
    ASSERT_EQ(actual.size(), expected.size()) << "vertex " << vertex;
    for (const auto& [bone, weight] : expected) {
        ASSERT_TRUE(actual.count(bone)) << "vertex " << vertex << " lost bone " << bone;
        EXPECT_NEAR(actual.at(bone), weight, 1e-6f) << "vertex " << vertex << " bone " << bone;
    }
}

TEST(SkinWeightsTest, KeepsTheFourLargestNormalisedAsTheEngineDoes) {
    Assignments assignments;
    assign(assignments, 0, 3, 1.0f); // one bone, already whole
    assign(assignments, 1, 1, 0.2f); // two bones summing to 0.6
    assign(assignments, 1, 2, 0.4f);
    // Six bones, three tied at the smallest weight: the engine drops the earlier two of them.
    const float sixWeights[] = {0.1f, 0.1f, 0.3f, 0.25f, 0.35f, 0.1f};
    for (uint16_t k = 0; k < 6; ++k) {
        assign(assignments, 2, k, sixWeights[k]);
    }
    assign(assignments, 3, 4, 2.0f); // five bones summing to far more than 1
    assign(assignments, 3, 0, 3.0f);
    assign(assignments, 3, 2, 0.5f);
    assign(assignments, 3, 1, 7.0f);
    assign(assignments, 3, 3, 1.0f);
    assign(assignments, 4, 5, 0.5f); // one bone named twice: skinned with both, so added up
    assign(assignments, 4, 5, 0.25f);
    assign(assignments, 4, 1, 0.25f);

    BuilderEngine engine;
    Assignments rationalised = assignments;
    engine.freshMesh()->_rationaliseBoneAssignments(5, rationalised);

    const SkinWeights skin = skinWeights(assignments, 5, 6, 0);
    EXPECT_TRUE(skin.warnings.empty());
    for (std::size_t vertex = 0; vertex < 5; ++vertex) {
        expectSameWeights(slotsOf(skin, vertex), engineWeights(rationalised, vertex), vertex);
    }
    EXPECT_EQ(slotsOf(skin, 2).count(5), 1u) << "the later of the tied weights stays";
}

TEST(SkinWeightsTest, AVertexWithoutUsableWeightIsBoundToTheRootBone) {
    Assignments assignments;
    assign(assignments, 1, 2, 0.0f);                                    // zero weight
    assign(assignments, 2, 9, 1.0f);                                    // no such bone
    assign(assignments, 3, 1, -0.5f);                                   // negative weight
    assign(assignments, 3, 2, std::numeric_limits<float>::quiet_NaN()); // not a number
    assign(assignments, 4, 1, 0.5f);                                    // no such vertex
    const SkinWeights skin = skinWeights(assignments, 4, 3, 2);
    for (std::size_t vertex = 0; vertex < 4; ++vertex) {
        EXPECT_EQ(slotsOf(skin, vertex), (WeightByBone{{2, 1.0f}})) << "vertex " << vertex;
    }
    EXPECT_EQ(skin.warnings,
              (std::vector<std::string>{
                  "4 bone assignments name no vertex or bone of the model, or a weight below 0 "
                  "or not a number; they are left out.",
                  "4 vertices have no bone weight; they are bound to the root bone."}));
}

} // namespace
