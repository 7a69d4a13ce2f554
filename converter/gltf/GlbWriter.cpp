#include "GlbWriter.h"

#include "AnimationPart.h"
#include "GltfDocument.h"
#include "MaterialPart.h"
#include "MeshPart.h"
#include "SkinPart.h"

#include <OgreAnimation.h>
#include <OgreSubMesh.h>

namespace {

// About the bytes of the binary chunk, images aside (a hint for its room): per vertex its
// attributes, per index two or four bytes, per bone a matrix, per keyframe a time, a translation
// and a rotation.
std::size_t expectedDataSize(const Ogre::Mesh& mesh, const Ogre::Skeleton& skeleton) {
    constexpr std::size_t vertexBytes = 12 + 12 + 8 + 4 + 16;
    constexpr std::size_t keyFrameBytes = 4 + 12 + 16;
    std::size_t bytes = 64 * skeleton.getNumBones();
    if (mesh.sharedVertexData != nullptr) {
        bytes += vertexBytes * mesh.sharedVertexData->vertexCount;
    }
    for (const Ogre::SubMesh* subMesh : mesh.getSubMeshes()) {
        bytes += 4 * subMesh->indexData->indexCount;
        if (!subMesh->useSharedVertices && subMesh->vertexData != nullptr) {
            bytes += vertexBytes * subMesh->vertexData->vertexCount;
        }
    }
    // An animation's tracks mostly hold a key at each of its frames, so its first track stands
    // for all: a walk over every track would wait on memory at each.
    for (unsigned short a = 0; a < skeleton.getNumAnimations(); ++a) {
        const Ogre::Animation::NodeTrackList& tracks =
            skeleton.getAnimation(a)->_getNodeTrackList();
        if (!tracks.empty()) {
            const std::size_t keys = tracks.begin()->second->getNumKeyFrames() + 1;
            bytes += keyFrameBytes * keys * tracks.size();
        }
    }
    return bytes;
}

} // namespace

GlbResult writeGlb(const Ogre::Mesh& mesh, const Ogre::Skeleton& skeleton,
                   const std::vector<Ogre::MaterialPtr>& materials, const TextureSource& textures) {
    GltfDocument document;
    document.buffer.reserve(expectedDataSize(mesh, skeleton));
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
    // A list of one element is spelled out: braces around one JSON value copy the value.
    document.json["scenes"] = nlohmann::json::array(
        {sceneNodes.empty() ? nlohmann::json::object() : nlohmann::json{{"nodes", sceneNodes}}});
    document.json["scene"] = 0;
    std::string json = document.text();
    return {std::move(json), document.buffer.takeBytes(), std::move(document.warnings),
            std::move(materialIndex.missingTextures)};
}

std::string GlbResult::bytes() const {
    std::string file;
    write([&file](const char* bytes, std::size_t size) { file.append(bytes, size); });
    return file;
}
