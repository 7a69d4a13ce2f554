#include "MeshFileCheck.h"

#include "MeshBytesCheck.h"
#include "SkeletonBytesCheck.h"

#include <OgreResourceGroupManager.h>

namespace {

std::string resourceBytes(const std::string& name) {
    return Ogre::ResourceGroupManager::getSingleton()
        .openResource(name, Ogre::RGN_AUTODETECT)
        ->getAsString();
}

} // namespace

std::string modelFilesFault(const std::string& meshName) {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (!groups.resourceExistsInAnyGroup(meshName))
        return "";
    const MeshCheck mesh = checkMeshBytes(resourceBytes(meshName));
    if (!mesh.fault.empty())
        return "the mesh is damaged: " + mesh.fault;
    if (mesh.skeletonName.empty() || !groups.resourceExistsInAnyGroup(mesh.skeletonName))
        return "";
    const SkeletonCheck skeleton = checkSkeletonBytes(resourceBytes(mesh.skeletonName));
    if (!skeleton.fault.empty())
        return "its skeleton " + mesh.skeletonName + " is damaged: " + skeleton.fault;
    if (mesh.bonesNeeded > skeleton.boneCount)
        return "its vertices are bound to bone " + std::to_string(mesh.bonesNeeded - 1) +
               ", but its skeleton " + mesh.skeletonName + " has " +
               std::to_string(skeleton.boneCount) + " bones";
    return "";
}
