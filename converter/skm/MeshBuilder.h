#pragma once

#include "../MaterialNamer.h"

#include <OgreMesh.h>

#include <ostream>
#include <string>

// Fills an empty mesh from an SKM file: shared vertex data, one submesh per material that has
// faces, bone assignments and the skeleton link. Entries that point outside their tables are
// skipped with a warning on out. False when the file cannot be opened (mesh untouched, nothing
// written) or when a table's count cannot be believed (with a message on out).
bool importMesh(Ogre::Mesh& mesh, NamingCallback& namingCallback, const std::string& skmPath,
                const std::string& skeletonName, std::ostream& out);
