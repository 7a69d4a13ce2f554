#include "HeadlessEngine.h"

#include "LogFile.h"
#include "Resources.h"

namespace {

// The log goes to its file only: with debugger output on, the engine would echo every line
// to the console, which belongs to the program's own texts. Without a file (no name given, or
// one that cannot be written) it goes nowhere.
std::unique_ptr<Ogre::LogManager> createLogManager(const std::string& logName,
                                                   std::optional<std::string>& failure) {
    auto manager = std::make_unique<Ogre::LogManager>();
    if (logName.empty()) {
        manager->createLog("unkept.log", false, false, true);
        return manager;
    }
    const LogFile file(logName);
    if (file.opened()) {
        manager->createLog(file.enginePath(), false, false, false);
    } else {
        failure = "Warning: the log \"" + logName + "\" cannot be written (" + file.failure() +
                  "); going on without it.";
        manager->createLog(logName, false, false, true);
    }
    return manager;
}

} // namespace

HeadlessEngine::HeadlessEngine(const std::string& logName)
    : logManager(createLogManager(logName, unkeptLog)),
      resourceGroupManager(std::make_unique<Ogre::ResourceGroupManager>()),
      math(std::make_unique<Ogre::Math>(4096)),
      lodStrategyManager(std::make_unique<Ogre::LodStrategyManager>()),
      meshManager(std::make_unique<Ogre::MeshManager>()),
      materialManager(std::make_unique<Ogre::MaterialManager>()),
      skeletonManager(std::make_unique<Ogre::SkeletonManager>()),
      meshes(std::make_unique<Ogre::MeshSerializer>()),
      skeletons(std::make_unique<Ogre::SkeletonSerializer>()),
      hardwareBufferManager(std::make_unique<Ogre::DefaultHardwareBufferManager>()),
      textureManager(std::make_unique<Ogre::DefaultTextureManager>()),
      materials(std::make_unique<Ogre::MaterialSerializer>()) {
    materialManager->initialise();
    resourceGroupManager->createResourceGroup(conversionGroup);
}

HeadlessEngine::~HeadlessEngine() {
    releaseResources();
}

void HeadlessEngine::releaseResources() {
    meshManager->removeAll();
    skeletonManager->removeAll();
    materialManager->removeAll();
}
