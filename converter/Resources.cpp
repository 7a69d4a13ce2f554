#include "Resources.h"

#include <OgreMaterialManager.h>

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
