#pragma once

#include "MeshBounds.h"
#include "SkmRecords.h"

#include <OgreHardwareVertexBuffer.h>
#include <OgreMesh.h>

#include <cstddef>

// Builds a mesh's shared vertex data from an SKM vertex table one vertex at a time, as the
// table is read, so that the vertices are never held as records: each goes into the two vertex
// buffers, the bounds and the bone assignments as it comes. Source 0 holds position and
// normal, source 1 the texture coordinate with v flipped, since the game's v runs the other
// way. A table without vertices gives the mesh neither vertex data nor bounds.
class SharedVertexBuilder {
public:
    SharedVertexBuilder(Ogre::Mesh& mesh, std::size_t vertexCount, int32_t boneCount);

    // Vertices come in table order. Values that are not finite are read as 0.
    void add(SkmVertex vertex);

    // Unlocks the buffers and gives the mesh its bounds; call once, after the last vertex.
    void finish();

    // Vertices that held values that are not finite.
    std::size_t repairedVertices() const { return repaired; }
    // Weights that name a bone the skeleton does not have, or a slot past the sixth.
    std::size_t skippedWeights() const { return skipped; }

private:
    void addBoneAssignments(const SkmVertex& vertex);

    Ogre::Mesh& mesh;
    int32_t boneCount;
    Ogre::HardwareVertexBufferSharedPtr geometry;
    Ogre::HardwareVertexBufferSharedPtr texture;
    float* geometryValues = nullptr;
    float* textureValues = nullptr;
    unsigned int added = 0;
    MeshBounds bounds;
    std::size_t repaired = 0;
    std::size_t skipped = 0;
};
