#include "MaterialBuilder.h"

#include "MdfReader.h"

#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureUnitState.h>

#include <fstream>

bool importMaterial(const std::string& mdfPath, const Ogre::MaterialPtr& material) {
    std::ifstream mdf(mdfPath);
    if (!mdf) {
        return false;
    }
    for (const std::string& textureName : readMdfTextureNames(mdf)) {
        Ogre::TextureUnitState* unit =
            material->createTechnique()->createPass()->createTextureUnitState();
        // An empty texture path stays a unit without a texture: the engine holds no texture
        // of an empty name.
        if (!textureName.empty()) {
            unit->setTextureName(textureName, Ogre::TEX_TYPE_2D);
            unit->setNumMipmaps(Ogre::MIP_DEFAULT);
        }
    }
    return true;
}
