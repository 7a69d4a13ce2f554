// Vertex records fed straight into the shared vertex builder.
#include "skm/SharedVertices.h"
#include "support/BuilderEngine.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A vertex at (x, x, x) with its one weight on bone 0.
SkmVertex vertexAt(float x) {
    SkmVertex vertex;
    vertex.position = {x, x, x};
    vertex.weightCount = 1;
    vertex.boneWeight[0] = 1;
    return vertex;
}

TEST(SharedVerticesTest, ReadsValuesThatAreNotFiniteAsZero) {
    BuilderEngine engine;
    Ogre::MeshPtr mesh = engine.freshMesh();
    std::vector<SkmVertex> vertices = {vertexAt(1), vertexAt(-2), vertexAt(3), vertexAt(1)};
    vertices[0].position[0] = NAN;
    vertices[1].normal[2] = INFINITY;
    vertices[1].boneWeight[0] = NAN;
    vertices[2].uv[0] = -INFINITY;
    SharedVertexBuilder builder(*mesh, vertices.size(), 1);
    for (const SkmVertex& vertex : vertices) {
        builder.add(vertex);
    }
    builder.finish();
    EXPECT_EQ(builder.repairedVertices(), 3u);
    EXPECT_EQ(mesh->getBounds().getMinimum(), Ogre::Vector3(-2, -2, -2));
    EXPECT_EQ(mesh->getBounds().getMaximum(), Ogre::Vector3(3, 3, 3));
    EXPECT_EQ(mesh->getBoneAssignments().find(1)->second.weight, 0.0f);
}

TEST(SharedVerticesTest, SkipsWeightsPastTheSixthSlotOrOnMissingBones) {
    BuilderEngine engine;
    Ogre::MeshPtr mesh = engine.freshMesh();
    std::vector<SkmVertex> vertices = {vertexAt(0), vertexAt(0), vertexAt(0)};
    vertices[0].weightCount = 7;
    vertices[1].weightCount = -1;
    vertices[2].weightCount = 3;
    vertices[2].boneIndex = {0, 3, 2, 0, 0, 0};
    SharedVertexBuilder builder(*mesh, vertices.size(), 3);
    for (const SkmVertex& vertex : vertices) {
        builder.add(vertex);
    }
    builder.finish();
    EXPECT_EQ(builder.skippedWeights(), 3u);
    EXPECT_EQ(mesh->getBoneAssignments().count(0) + mesh->getBoneAssignments().count(1), 0u);
    EXPECT_EQ(mesh->getBoneAssignments().count(2), 2u) << "bones 0 and 2 exist";
}

} // namespace
