#pragma once

#include "GltfDocument.h"

#include <OgreMesh.h>

#include <map>
#include <optional>
#include <string>

// Which joints the vertices may be bound to: the skin's joints are the bones by handle.
struct SkinJoints {
    std::size_t count;
    uint16_t root; // takes the vertices that no bone holds
};

// Adds the mesh as one glTF mesh with one triangle primitive per submesh, in submesh order,
// each naming the material that materialIndex gives for its material name (none when absent).
// Vertex data shared by submeshes becomes one set of accessors. Without joints, the primitives
// carry no skin weights. Returns the mesh's index, or nothing when no submesh holds a
// triangle (glTF has no mesh without primitives).
std::optional<int> addMesh(GltfDocument& document, const Ogre::Mesh& mesh,
                           const std::optional<SkinJoints>& joints,
                           const std::map<std::string, int>& materialIndex);
