// Vertex records fed straight into the shared vertex builder, one case per scoped block.
#include "skm/SharedVertices.h"
#include "support/BuilderEngine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

SkmVertex vertexAt(float x, float y, float z) {
    SkmVertex vertex;
    vertex.position = {x, y, z};
    vertex.normal = {0, 0, 1};
    vertex.weightCount = 1;
    vertex.boneWeight[0] = 1;
    return vertex;
}

std::size_t assignmentsOf(const Ogre::Mesh& mesh, unsigned int vertex) {
    return mesh.getBoneAssignments().count(vertex);
}

TEST(SharedVerticesTest, ReadsValuesThatAreNotFiniteAsZero) {
    BuilderEngine engine;
    Ogre::MeshPtr mesh = engine.freshMesh();
    SkmVertex notANumber = vertexAt(NAN, 1, 1);
    SkmVertex infiniteNormal = vertexAt(-2, -2, -2);
    infiniteNormal.normal[2] = INFINITY;
    infiniteNormal.boneWeight[0] = NAN;
    SkmVertex infiniteUv = vertexAt(3, 3, 3);
    infiniteUv.uv[0] = -INFINITY;

    SharedVertexBuilder vertices(*mesh, 4, 1);
    for (const SkmVertex& vertex : {notANumber, infiniteNormal, infiniteUv, vertexAt(1, 1, 1)}) {
        vertices.add(vertex);
    }
    vertices.finish();
    EXPECT_EQ(vertices.repairedVertices(), 3u);
    EXPECT_EQ(mesh->getBounds().getMinimum(), Ogre::Vector3(-2, -2, -2));
    EXPECT_EQ(mesh->getBounds().getMaximum(), Ogre::Vector3(3, 3, 3));
    EXPECT_EQ(mesh->getBoneAssignments().find(1)->second.weight, 0.0f);
}

TEST(SharedVerticesTest, SkipsWeightsPastTheSixthSlotOrOnMissingBones) {
    BuilderEngine engine;
    Ogre::MeshPtr mesh = engine.freshMesh();
    SkmVertex sevenWeights = vertexAt(0, 0, 0);
    sevenWeights.weightCount = 7;
    SkmVertex negativeCount = vertexAt(0, 0, 0);
    negativeCount.weightCount = -1;
    SkmVertex missingBone = vertexAt(0, 0, 0);
    missingBone.weightCount = 3;
    missingBone.boneIndex = {0, 3, 2, 0, 0, 0};

    SharedVertexBuilder vertices(*mesh, 3, 3);
    for (const SkmVertex& vertex : {sevenWeights, negativeCount, missingBone}) {
        vertices.add(vertex);
    }
    vertices.finish();
    EXPECT_EQ(vertices.skippedWeights(), 3u);
    EXPECT_EQ(assignmentsOf(*mesh, 0), 0u);
    EXPECT_EQ(assignmentsOf(*mesh, 1), 0u);
    EXPECT_EQ(assignmentsOf(*mesh, 2), 2u) << "bones 0 and 2 exist";
}

} // namespace
