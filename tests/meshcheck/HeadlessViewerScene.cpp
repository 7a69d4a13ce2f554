#include "HeadlessViewerScene.h"

#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreMeshManager.h>
#include <OgreResourceGroupManager.h>
#include <OgreSkeletonManager.h>

HeadlessViewerScene::HeadlessViewerScene(const std::string& folder)
    : buffers(std::make_unique<Ogre::DefaultHardwareBufferManager>()),
      root(std::make_unique<Ogre::Root>("", "", folder + "/../ogre.log")),
      textures(std::make_unique<Ogre::DefaultTextureManager>()) {
    Ogre::LogManager::getSingleton().setLogDetail(Ogre::LL_LOW);
    Ogre::LogManager::getSingleton().getDefaultLog()->setDebugOutputEnabled(false);
    Ogre::MaterialManager::getSingleton().initialise();
    sceneManager = root->createSceneManager();
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.addResourceLocation(folder, "FileSystem", group);
    groups.initialiseResourceGroup(group);
}

HeadlessViewerScene::~HeadlessViewerScene() {
    sceneManager->destroyAllEntities();
    root->destroySceneManager(sceneManager);
    Ogre::ResourceGroupManager::getSingleton().clearResourceGroup(group);
}

void HeadlessViewerScene::reloadFolder() {
    sceneManager->destroyAllEntities();
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    // A mesh loaded from an autodetected group belongs to no group that clearing reaches.
    Ogre::MeshManager::getSingleton().removeAll();
    Ogre::SkeletonManager::getSingleton().removeAll();
    groups.clearResourceGroup(group);
    groups.initialiseResourceGroup(group);
}
