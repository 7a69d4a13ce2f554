#include "Resources.h"

#include <OgreMaterialManager.h>
#include <OgreMeshManager.h>
#include <OgreSkeletonManager.h>

const char* const conversionGroup = "TOEE";

Ogre::MaterialPtr fetchMaterial(const std::string& name) {
    auto [resource, isNew] =
        Ogre::MaterialManager::getSingleton().createOrRetrieve(name, conversionGroup);
    auto material = Ogre::static_pointer_cast<Ogre::Material>(resource);
    // The engine gives a new material its default technique; left in front of the converted
    // ones it would be the technique that renders, without the texture.
    if (isNew) {
        material->removeAllTechniques();
    }
    return material;
}

Ogre::MeshPtr createManualMesh(const std::string& name) {
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(name, conversionGroup);
    mesh->load();
    return mesh;
}

Ogre::SkeletonPtr createManualSkeleton(const std::string& name) {
    Ogre::SkeletonPtr skeleton =
        Ogre::SkeletonManager::getSingleton().create(name, conversionGroup, true);
    skeleton->load();
    return skeleton;
}
