#include "ReadBack.h"

#include "Resources.h"

#include <fstream>

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
