#include "ResourceRelease.h"

#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgrePass.h>
#include <OgreSkeleton.h>
#include <OgreSkeletonManager.h>
#include <OgreSubMesh.h>
#include <OgreTechnique.h>
#include <OgreTextureManager.h>
#include <OgreTextureUnitState.h>

namespace {

void addTexturesOf(const Ogre::Material& material, std::set<std::string>& textures) {
    for (const Ogre::Technique* technique : material.getTechniques())
        for (const Ogre::Pass* pass : technique->getPasses())
            for (const Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
                if (!unit->getTextureName().empty())
                    textures.insert(unit->getTextureName());
}

// Each of `names` that `kept` lacks, unloaded if its manager knows it.
template <typename Manager>
void unloadOthers(Manager& manager, const std::set<std::string>& names,
                  const std::set<std::string>& kept) {
    for (const std::string& name : names)
        if (!kept.count(name))
            if (auto resource = manager.getByName(name, Ogre::RGN_AUTODETECT))
                resource->unload();
}

} // namespace

MeshResources resourcesOf(const Ogre::Mesh& mesh) {
    MeshResources resources;
    resources.meshes.insert(mesh.getName());
    if (!mesh.getSkeletonName().empty())
        resources.skeletons.insert(mesh.getSkeletonName());
    for (const Ogre::SubMesh* subMesh : mesh.getSubMeshes()) {
        resources.materials.insert(subMesh->getMaterialName());
        if (Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(
                subMesh->getMaterialName(), Ogre::RGN_AUTODETECT))
            addTexturesOf(*material, resources.textures);
    }
    return resources;
}

// Materials go first: a loaded material holds its textures.
void unloadUnused(const MeshResources& previous, const MeshResources& current) {
    unloadOthers(Ogre::MaterialManager::getSingleton(), previous.materials, current.materials);
    unloadOthers(Ogre::TextureManager::getSingleton(), previous.textures, current.textures);
    unloadOthers(Ogre::MeshManager::getSingleton(), previous.meshes, current.meshes);
    unloadOthers(Ogre::SkeletonManager::getSingleton(), previous.skeletons, current.skeletons);
}
