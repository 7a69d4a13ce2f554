#pragma once

#include "../Diagnostics.h"

#include <OgreMesh.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Gives the material name for the MDF path of one SKM material record.
using NamingCallback = std::function<std::string(const std::string&)>;

// One SKM material record as the mesh names it: the MDF file to convert (without folder) and
// the material name that the naming callback gave.
struct MeshMaterial {
    std::string mdfFile;
    std::string name;
};

// Fills an empty mesh from an SKM file: shared vertex data, one submesh per material that has
// faces, bone assignments and the skeleton link; returns the material records in table order.
// A submesh whose material name no material script can hold names no material. Entries that
// point outside their tables are skipped with a warning on out. Nothing when the file cannot be
// opened (mesh untouched, nothing written) or when a table's count cannot be believed (with a
// message on out).
std::optional<std::vector<MeshMaterial>>
importMesh(Ogre::Mesh& mesh, const NamingCallback& namingCallback, const std::string& skmPath,
           const std::string& skeletonName, Diagnostics& out);
