#pragma once

#include "GltfDocument.h"
#include "TextureSource.h"

#include <OgreMaterial.h>

#include <map>
#include <string>
#include <vector>

struct MaterialIndex {
    std::map<std::string, int> byName;
    std::vector<std::string> missingTextures; // texture names the source did not find
};

// Adds one glTF material per engine material, in order and of the same name: an unlit-looking,
// non-metallic base colour with the first texture unit's image embedded as PNG, and the alpha
// mode and sidedness of the material's first pass. A texture the source does not find, or
// whose image cannot be read, leaves the material without a texture.
MaterialIndex addMaterials(GltfDocument& document, const std::vector<Ogre::MaterialPtr>& materials,
                           const TextureSource& textures);
