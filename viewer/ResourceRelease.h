#pragma once

#include <set>
#include <string>

namespace Ogre {
class Mesh;
}

// The engine resources a shown mesh holds: the mesh, its skeleton, its materials and the
// textures they name.
struct MeshResources {
    std::set<std::string> meshes;
    std::set<std::string> skeletons;
    std::set<std::string> materials;
    std::set<std::string> textures;
};

MeshResources resourcesOf(const Ogre::Mesh& mesh);

// Unloads what `previous` holds and `current` does not use, so that browsing through many
// meshes keeps only the shown one in memory. They load again when a mesh needs them.
void unloadUnused(const MeshResources& previous, const MeshResources& current);
