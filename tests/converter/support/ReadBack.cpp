#include "ReadBack.h"

#include "Resources.h"

#include <OgreMaterialManager.h>

#include <fstream>

namespace {

class MaterialNameRecorder : public Ogre::MeshSerializerListener {
public:
    void processMaterialName(Ogre::Mesh*, Ogre::String* name) override { names.push_back(*name); }
    void processSkeletonName(Ogre::Mesh*, Ogre::String*) override {}
    void processMeshCompleted(Ogre::Mesh*) override {}

    std::vector<std::string> names;
};

} // namespace

Ogre::SkeletonPtr ReadBack::skeleton(const std::string& path) {
    Ogre::SkeletonPtr skeleton = createManualSkeleton("read back " + std::to_string(++loaded));
    std::ifstream file(path, std::ios::binary);
    Ogre::DataStreamPtr stream = std::make_shared<Ogre::FileStreamDataStream>(path, &file, false);
    headless.skeletonSerializer().importSkeleton(stream, skeleton.get());
    return skeleton;
}

Ogre::MeshPtr ReadBack::mesh(const std::string& path, const std::vector<std::string>& materials) {
    for (const std::string& material : materials) {
        fetchMaterial(material);
    }
    Ogre::MeshPtr mesh = createManualMesh("read back " + std::to_string(++loaded));
    std::ifstream file(path, std::ios::binary);
    Ogre::DataStreamPtr stream = std::make_shared<Ogre::FileStreamDataStream>(path, &file, false);
    headless.meshSerializer().importMesh(stream, mesh.get());
    return mesh;
}

std::vector<std::string> ReadBack::meshMaterialNames(const std::string& path) {
    MaterialNameRecorder recorder;
    headless.meshSerializer().setListener(&recorder);
    mesh(path);
    headless.meshSerializer().setListener(nullptr);
    return recorder.names;
}

std::vector<Ogre::MaterialPtr> ReadBack::compiledMaterials(const std::string& script) {
    if (!scriptCompiler) {
        scriptCompiler = std::make_unique<Ogre::ScriptCompilerManager>();
    }
    const std::string group = "script " + std::to_string(++loaded);
    Ogre::ResourceGroupManager::getSingleton().createResourceGroup(group);
    std::string text = script;
    Ogre::DataStreamPtr stream = std::make_shared<Ogre::MemoryDataStream>(&text[0], text.size());
    scriptCompiler->parseScript(stream, group);
    std::vector<Ogre::MaterialPtr> materials;
    auto resources = Ogre::MaterialManager::getSingleton().getResourceIterator();
    while (resources.hasMoreElements()) {
        auto resource = resources.getNext();
        if (resource->getGroup() == group) {
            materials.push_back(Ogre::static_pointer_cast<Ogre::Material>(resource));
        }
    }
    return materials;
}
