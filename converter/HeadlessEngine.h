#pragma once

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreIteratorWrapper.h> // needed first by the strategy manager header
#include <OgreLodStrategyManager.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreMaterialSerializer.h>
#include <OgreMath.h>
#include <OgreMeshManager.h>
#include <OgreMeshSerializer.h>
#include <OgreResourceGroupManager.h>
#include <OgreSkeletonManager.h>
#include <OgreSkeletonSerializer.h>
#include <OgreTextureManager.h>

#include <memory>
#include <optional>
#include <string>

// The part of the engine that building and writing meshes, skeletons and materials needs,
// without a window or render system: buffers live in system memory. Created in a fixed order
// and deleted in reverse; the resources go first, since a mesh that still holds its skeleton
// must not outlive the skeleton manager.
class HeadlessEngine {
public:
    // The engine's log goes to the file logName, or nowhere when the name is empty.
    explicit HeadlessEngine(const std::string& logName);
    ~HeadlessEngine();

    HeadlessEngine(const HeadlessEngine&) = delete;
    HeadlessEngine& operator=(const HeadlessEngine&) = delete;

    Ogre::MeshSerializer& meshSerializer() { return *meshes; }
    Ogre::SkeletonSerializer& skeletonSerializer() { return *skeletons; }
    Ogre::MaterialSerializer& materialSerializer() { return *materials; }

    // Forgets every mesh, skeleton and material created so far.
    void releaseResources();

    // The warning for a log file that could not be written, which the engine goes on without.
    const std::optional<std::string>& logFailure() const { return unkeptLog; }

private:
    std::optional<std::string> unkeptLog; // set while the log manager is created
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::ResourceGroupManager> resourceGroupManager;
    std::unique_ptr<Ogre::Math> math;
    std::unique_ptr<Ogre::LodStrategyManager> lodStrategyManager;
    std::unique_ptr<Ogre::MeshManager> meshManager;
    std::unique_ptr<Ogre::MaterialManager> materialManager;
    std::unique_ptr<Ogre::SkeletonManager> skeletonManager;
    std::unique_ptr<Ogre::MeshSerializer> meshes;
    std::unique_ptr<Ogre::SkeletonSerializer> skeletons;
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> hardwareBufferManager;
    std::unique_ptr<Ogre::DefaultTextureManager> textureManager;
    std::unique_ptr<Ogre::MaterialSerializer> materials;
};
