#pragma once
// The sample figure's material files and textures, as the game keeps them: the SKM names
// each material by the path of its MDF file, and the MDF names its texture by path.

#include <string>
#include <utility>
#include <vector>

namespace samplemodel {

using NamedFile = std::pair<std::string, std::string>; // file name, contents

// The MDF paths for the SKM material table, in the order of `materialNames()`.
std::vector<std::string> materialPaths();

std::vector<NamedFile> mdfFiles();

// 64×64 textures with a pattern that shows how the skin is mapped.
std::vector<NamedFile> textureFiles();

} // namespace samplemodel
