#include "GlbWriter.h"

#include "AnimationPart.h"
#include "GltfDocument.h"
#include "MaterialPart.h"
#include "MeshPart.h"
#include "SkinPart.h"

GlbResult writeGlb(const Ogre::Mesh& mesh, const Ogre::Skeleton& skeleton,
                   const std::vector<Ogre::MaterialPtr>& materials, const TextureSource& textures) {
    GltfDocument document;
    document.json["asset"] = {{"version", "2.0"}, {"generator", "tarnwick-batch"}};
    nlohmann::json sceneNodes = nlohmann::json::array();

    // Bones come first, so that node i is the bone of handle i.
    std::optional<SkinNodes> skin;
    std::optional<SkinJoints> joints;
    if (skeleton.getNumBones() > 0) {
        skin = addSkin(document, skeleton);
        joints = SkinJoints{skeleton.getNumBones(), static_cast<uint16_t>(skin->rootJoints[0])};
        addAnimations(document, skeleton);
    }
    MaterialIndex materialIndex = addMaterials(document, materials, textures);
    if (const std::optional<int> meshIndex =
            addMesh(document, mesh, joints, materialIndex.byName)) {
        nlohmann::json node = {{"name", mesh.getName()}, {"mesh", *meshIndex}};
        if (skin) {
            node["skin"] = skin->skin;
        }
        sceneNodes.push_back(document.add("nodes", node));
    } else {
        document.warnings.push_back("The mesh holds no triangles; the file holds no mesh.");
    }
    if (skin) {
        for (const int root : skin->rootJoints) {
            sceneNodes.push_back(root);
        }
    }
    document.json["scenes"] = {sceneNodes.empty() ? nlohmann::json::object()
                                                  : nlohmann::json{{"nodes", sceneNodes}}};
    document.json["scene"] = 0;
    document.buffer.writeInto(document.json);
    return {packGlb(document.json, document.buffer.bytes()), std::move(document.warnings),
            std::move(materialIndex.missingTextures)};
}
