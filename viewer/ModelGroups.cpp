#include "ModelGroups.h"

#include <OgreResourceGroupManager.h>

namespace {

std::string groupName(const std::filesystem::path& folder) {
    return "Models:" + folder.string();
}

} // namespace

bool ModelGroups::isOpen(const std::filesystem::path& folder) const {
    return groupName(folder) == openGroup;
}

// Outside the global pool, so that a resource of one group never stands for the same name in
// another.
std::string ModelGroups::open(const std::filesystem::path& folder) {
    if (isOpen(folder))
        return openGroup;
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (!openGroup.empty())
        groups.destroyResourceGroup(openGroup);
    openGroup = groupName(folder);
    groups.createResourceGroup(openGroup, false);
    groups.addResourceLocation(folder.string(), "FileSystem", openGroup, false);
    groups.initialiseResourceGroup(openGroup);
    return openGroup;
}
