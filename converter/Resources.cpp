#include "Resources.h"

#include <OgreMaterialManager.h>

const char* const conversionGroup = "TOEE";

Ogre::MaterialPtr fetchMaterial(const std::string& name) {
    auto created = Ogre::MaterialManager::getSingleton().createOrRetrieve(name, conversionGroup);
    return Ogre::static_pointer_cast<Ogre::Material>(created.first);
}
