#include "ResourceRescan.h"

#include <OgreArchive.h>
#include <OgreResourceGroupManager.h>

#include <vector>

namespace {

struct Location {
    std::string name, type;
    bool recursive;
};

} // namespace

// The engine indexes a location only when it is added, so each is taken out and added again.
void rescanResourceLocations() {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const std::string& group : groups.getResourceGroups()) {
        std::vector<Location> locations;
        for (const auto& location : groups.getResourceLocationList(group))
            locations.push_back(
                {location.archive->getName(), location.archive->getType(), location.recursive});
        for (const Location& location : locations)
            groups.removeResourceLocation(location.name, group);
        for (const Location& location : locations)
            groups.addResourceLocation(location.name, location.type, group, location.recursive);
    }
}
