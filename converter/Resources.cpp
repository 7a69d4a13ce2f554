#include "Resources.h"

#include <OgreMaterialManager.h>

#include <stdexcept>

const char* const conversionGroup = "TOEE";

Ogre::MaterialPtr fetchMaterial(const std::string& name) {
    if (name.empty()) {
        throw std::runtime_error("A material record of the mesh has an empty MDF path, and the "
                                 "engine cannot hold a material without a name.");
    }
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
