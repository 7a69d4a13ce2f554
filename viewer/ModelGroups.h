#pragma once

#include <filesystem>
#include <string>

// One resource group per model folder, so that models of one file name in different folders
// each find their own skeleton, materials and textures. One folder's group is open at a time:
// opening another destroys the one before with all that was loaded from it, so browsing a
// library of thousands of folders holds one folder's resources. The groups go with the engine's
// root.
class ModelGroups {
public:
    bool isOpen(const std::filesystem::path& folder) const;
    // The group of the folder's files, declared and initialised (its scripts parsed) when it is
    // not open yet; nothing of the group before may be in use then.
    std::string open(const std::filesystem::path& folder);

private:
    std::string openGroup;
};
