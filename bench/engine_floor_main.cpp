// engine_floor <mesh file> <skeleton file> <directory>: the engine's own cost of building and
// writing what Tarnwick builds and writes. Under the same headless set-up as Tarnwick, it loads
// the skeleton and the mesh that Tarnwick wrote with the engine's serializers, in Tarnwick's
// order, and writes them again into the directory with the serializers' own file output.

#include "ExceptionText.h"
#include "HeadlessEngine.h"
#include "Resources.h"

#include <OgreException.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string pathIn(const std::string& directory, const std::string& path) {
    return (std::filesystem::path(directory) / fileName(path)).string();
}

// The engine's own file stream, as its file system archive opens it.
Ogre::DataStreamPtr openInput(const std::string& path) {
    auto* file = new std::ifstream(path, std::ios::in | std::ios::binary);
    if (!*file) {
        delete file;
        throw std::runtime_error("cannot open " + path);
    }
    return std::make_shared<Ogre::FileStreamDataStream>(path, file, true);
}

// The resources are created as Tarnwick creates them, and the skeleton takes the name the mesh
// records, so that the mesh links it the same way.
void rewriteSkeleton(HeadlessEngine& engine, const std::string& path,
                     const std::string& directory) {
    Ogre::SkeletonPtr skeleton = createManualSkeleton(fileName(path));
    Ogre::DataStreamPtr input = openInput(path);
    engine.skeletonSerializer().importSkeleton(input, skeleton.get());
    engine.skeletonSerializer().exportSkeleton(skeleton.get(), pathIn(directory, path));
}

// A submesh keeps a handle to its material, so the engine drops the name of a material that
// does not exist; Tarnwick creates its materials, and so does this.
class MaterialCreator : public Ogre::MeshSerializerListener {
public:
    void processMaterialName(Ogre::Mesh*, Ogre::String* name) override { fetchMaterial(*name); }
    void processSkeletonName(Ogre::Mesh*, Ogre::String*) override {}
    void processMeshCompleted(Ogre::Mesh*) override {}
};

void rewriteMesh(HeadlessEngine& engine, const std::string& path, const std::string& directory) {
    Ogre::MeshPtr mesh = createManualMesh(std::filesystem::path(path).stem().string());
    MaterialCreator materialCreator;
    engine.meshSerializer().setListener(&materialCreator);
    engine.meshSerializer().importMesh(openInput(path), mesh.get());
    engine.meshSerializer().setListener(nullptr);
    engine.meshSerializer().exportMesh(mesh.get(), pathIn(directory, path));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: engine_floor <mesh file> <skeleton file> <directory>\n";
        return 2;
    }
    try {
        HeadlessEngine engine("engine_floor.log");
        rewriteSkeleton(engine, argv[2], argv[3]);
        rewriteMesh(engine, argv[1], argv[3]);
    } catch (const std::exception& error) {
        std::cerr << "engine_floor: " << describeException(error) << '\n';
        return 1;
    }
    return 0;
}
