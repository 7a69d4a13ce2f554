#pragma once
// A small art tree as the game lays it out: a dozen models in nested folders under
// art/meshes/, variations of the sample figure and of the bench models. Their MDF files name
// the textures by paths from the data root (the tree's top) in another case than the files on
// disk, some with '\\' separators, some pointing into art/textures/; one model has no SKA.

#include <string>
#include <vector>

namespace samplemodel {

// Writes the tree under root, creating the folders; returns the files written, relative to
// root. Throws std::runtime_error naming a file that could not be written.
std::vector<std::string> writeArtTree(const std::string& root);

} // namespace samplemodel
