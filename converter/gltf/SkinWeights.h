#pragma once

#include <OgreMesh.h>

#include <cstdint>
#include <string>
#include <vector>

// Four joints and four weights a vertex, as JOINTS_0 and WEIGHTS_0 hold them.
struct SkinWeights {
    std::vector<uint16_t> joints;
    std::vector<float> weights;
    std::vector<std::string> warnings;
};

// The bone assignments of vertexCount vertices as the engine skins with them when it loads the
// mesh: the four largest weights of a vertex, normalised to sum 1 (the largest takes what float
// rounding leaves). A vertex without a weight above 0 is bound fully to rootBone. Assignments
// that no vertex or bone of the skeleton holds, and weights below 0 or not a number, cannot be
// skinned with and are left out, with a warning; weights of 0 are left out silently.
SkinWeights skinWeights(const Ogre::Mesh::VertexBoneAssignmentList& assignments,
                        std::size_t vertexCount, std::size_t boneCount, uint16_t rootBone);
