#include "MaterialPart.h"

#include "PngImage.h"

#include <OgrePass.h>
#include <OgreTechnique.h>
#include <OgreTextureUnitState.h>

namespace {

const Ogre::Pass* firstPass(const Ogre::Material& material) {
    if (material.getNumTechniques() == 0) {
        return nullptr;
    }
    const Ogre::Technique* technique = material.getTechnique(0);
    return technique->getNumPasses() == 0 ? nullptr : technique->getPass(0);
}

std::string firstTextureName(const Ogre::Pass& pass) {
    if (pass.getNumTextureUnitStates() == 0) {
        return "";
    }
    return pass.getTextureUnitState(0)->getTextureName();
}

// How the pass treats alpha: cut out below its reject value, blended when it blends at all.
void addAlphaMode(nlohmann::json& material, const Ogre::Pass& pass) {
    if (pass.getAlphaRejectFunction() != Ogre::CMPF_ALWAYS_PASS) {
        material["alphaMode"] = "MASK";
        constexpr float byteMaximum = 255;
        material["alphaCutoff"] = pass.getAlphaRejectValue() / byteMaximum;
    } else if (pass.isTransparent()) {
        material["alphaMode"] = "BLEND";
    }
}

class TextureWriter {
public:
    TextureWriter(GltfDocument& document, const TextureSource& source, MaterialIndex& index)
        : document(document), source(source), index(index) {}

    // The glTF texture of a texture name, each image embedded once however many materials
    // use it; nothing when no image could be had.
    std::optional<int> textureOf(const std::string& name) {
        const auto known = textures.find(name);
        if (known != textures.end()) {
            return known->second;
        }
        return textures[name] = embed(name);
    }

private:
    std::optional<int> embed(const std::string& name) {
        const std::optional<std::string> path = source(name);
        if (!path) {
            index.missingTextures.push_back(name);
            return std::nullopt;
        }
        auto png = pngOfImageFile(*path);
        if (const auto* failure = std::get_if<ImageFailure>(&png)) {
            document.warnings.push_back("The texture \"" + *path +
                                        "\" gives no image: " + failure->reason + ".");
            return std::nullopt;
        }
        const int view = document.buffer.addView(std::get<std::string>(png));
        const int image = document.add(
            "images", {{"name", name}, {"bufferView", view}, {"mimeType", "image/png"}});
        return document.add("textures", {{"source", image}});
    }

    GltfDocument& document;
    const TextureSource& source;
    MaterialIndex& index;
    std::map<std::string, std::optional<int>> textures;
};

} // namespace

MaterialIndex addMaterials(GltfDocument& document, const std::vector<Ogre::MaterialPtr>& materials,
                           const TextureSource& textures) {
    MaterialIndex index;
    TextureWriter writer(document, textures, index);
    for (const Ogre::MaterialPtr& material : materials) {
        // An old game's diffuse-only materials: neither metal nor shiny.
        nlohmann::json pbr = {{"metallicFactor", 0}, {"roughnessFactor", 1}};
        nlohmann::json gltfMaterial = {{"name", material->getName()}};
        if (const Ogre::Pass* pass = firstPass(*material)) {
            const std::string textureName = firstTextureName(*pass);
            if (!textureName.empty()) {
                if (const std::optional<int> texture = writer.textureOf(textureName)) {
                    pbr["baseColorTexture"] = {{"index", *texture}};
                }
            }
            addAlphaMode(gltfMaterial, *pass);
            if (pass->getCullingMode() == Ogre::CULL_NONE) {
                gltfMaterial["doubleSided"] = true;
            }
        }
        gltfMaterial["pbrMetallicRoughness"] = pbr;
        index.byName.emplace(material->getName(), document.add("materials", gltfMaterial));
    }
    return index;
}
