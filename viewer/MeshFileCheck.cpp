#include "MeshFileCheck.h"

#include "MeshBytesCheck.h"
#include "SkeletonBytesCheck.h"

#include <OgreResourceGroupManager.h>

namespace {

std::string resourceBytes(const std::string& name, const std::string& group) {
    return Ogre::ResourceGroupManager::getSingleton().openResource(name, group)->getAsString();
}

bool resourceExists(const std::string& name, const std::string& group) {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    return group == Ogre::RGN_AUTODETECT ? groups.resourceExistsInAnyGroup(name)
                                         : groups.resourceExists(group, name);
}

} // namespace

std::string modelFilesFault(const std::string& meshName, const std::string& group) {
    if (!resourceExists(meshName, group))
        return "";
    const MeshCheck mesh = checkMeshBytes(resourceBytes(meshName, group));
    if (!mesh.fault.empty())
        return "the mesh is damaged: " + mesh.fault;
    if (mesh.skeletonName.empty() || !resourceExists(mesh.skeletonName, group))
        return "";
    const SkeletonCheck skeleton = checkSkeletonBytes(resourceBytes(mesh.skeletonName, group));
    if (!skeleton.fault.empty())
        return "its skeleton " + mesh.skeletonName + " is damaged: " + skeleton.fault;
    if (mesh.bonesNeeded > skeleton.boneCount)
        return "its vertices are bound to bone " + std::to_string(mesh.bonesNeeded - 1) +
               ", but its skeleton " + mesh.skeletonName + " has " +
               std::to_string(skeleton.boneCount) + " bones";
    return "";
}
