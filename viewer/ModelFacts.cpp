#include "ModelFacts.h"

#include <OgreAnimation.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgrePass.h>
#include <OgreResourceGroupManager.h>
#include <OgreSkeleton.h>
#include <OgreSubMesh.h>
#include <OgreTechnique.h>

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace {

// The location that holds `fileName` on disk now: a file added or deleted since the groups were
// indexed counts as it is.
std::string locationHolding(const std::string& fileName) {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const std::string& group : groups.getResourceGroups())
        for (const auto& location : groups.getResourceLocationList(group))
            if (location.archive->exists(fileName))
                return location.archive->getName();
    return "";
}

size_t triangleCount(const Ogre::SubMesh& subMesh) {
    if (subMesh.operationType != Ogre::RenderOperation::OT_TRIANGLE_LIST)
        return 0;
    if (subMesh.indexData && subMesh.indexData->indexCount > 0)
        return subMesh.indexData->indexCount / 3;
    return subMesh.vertexData ? subMesh.vertexData->vertexCount / 3 : 0;
}

void addTexturesOf(const std::string& materialName, std::vector<ModelFacts::Texture>& textures) {
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(materialName);
    if (!material)
        return;
    for (const Ogre::Technique* technique : material->getTechniques())
        for (const Ogre::Pass* pass : technique->getPasses())
            for (const Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
                for (unsigned int frame = 0; frame < unit->getNumFrames(); ++frame) {
                    const std::string& name = unit->getFrameTextureName(frame);
                    const auto sameName = [&name](const auto& known) { return known.name == name; };
                    if (!name.empty() && std::none_of(textures.begin(), textures.end(), sameName))
                        textures.push_back({name, !locationHolding(name).empty()});
                }
}

void addSkeletonFacts(const Ogre::Skeleton& skeleton, ModelFacts& facts) {
    facts.bones = skeleton.getNumBones();
    for (unsigned short index = 0; index < skeleton.getNumAnimations(); ++index) {
        const Ogre::Animation* animation = skeleton.getAnimation(index);
        facts.animations.emplace_back(animation->getName(), animation->getLength());
    }
    std::sort(facts.animations.begin(), facts.animations.end());
}

} // namespace

ModelFacts gatherModelFacts(const Ogre::Mesh& mesh) {
    ModelFacts facts;
    facts.fileName = mesh.getName();
    facts.location = locationHolding(mesh.getName());
    if (mesh.sharedVertexData)
        facts.vertices = mesh.sharedVertexData->vertexCount;
    for (const Ogre::SubMesh* subMesh : mesh.getSubMeshes()) {
        if (!subMesh->useSharedVertices && subMesh->vertexData)
            facts.vertices += subMesh->vertexData->vertexCount;
        facts.triangles += triangleCount(*subMesh);
        facts.submeshMaterials.push_back(subMesh->getMaterialName());
        addTexturesOf(subMesh->getMaterialName(), facts.textures);
    }
    if (const Ogre::SkeletonPtr& skeleton = mesh.getSkeleton())
        addSkeletonFacts(*skeleton, facts);
    return facts;
}

std::string describeModelFacts(const ModelFacts& facts) {
    std::ostringstream text;
    text << facts.fileName;
    if (!facts.location.empty())
        text << " in " << facts.location;
    text << "\n" << facts.vertices << " vertices\n" << facts.triangles << " triangles\n";
    text << facts.submeshMaterials.size() << " submeshes:\n";
    for (const std::string& material : facts.submeshMaterials)
        text << "  " << material << "\n";
    text << facts.bones << " bones\n" << facts.animations.size() << " animations:\n";
    text << std::fixed << std::setprecision(2);
    for (const auto& [name, length] : facts.animations)
        text << "  " << name << " " << length << " s\n";
    text << facts.textures.size() << " textures:\n";
    for (const ModelFacts::Texture& texture : facts.textures)
        text << "  " << texture.name << (texture.present ? "" : " missing") << "\n";
    return text.str();
}
