#pragma once

#include <OgreDefaultHardwareBufferManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreTextureManager.h>

#include <memory>
#include <string>

// The engine as the viewer sets it up, less the window and render system: a root, buffers in
// system memory, a scene manager and one resource group over a folder.
class HeadlessViewerScene {
public:
    static constexpr const char* group = "Models";

    explicit HeadlessViewerScene(const std::string& folder);
    ~HeadlessViewerScene();

    Ogre::SceneManager& scene() { return *sceneManager; }

    // Drops every loaded mesh, skeleton and material and reads the folder's scripts again, so
    // that the next load reads the files as they are now.
    void reloadFolder();

private:
    // Buffers outlive the root, whose meshes hold them; textures go before the root's groups.
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> buffers;
    std::unique_ptr<Ogre::Root> root;
    std::unique_ptr<Ogre::DefaultTextureManager> textures;
    Ogre::SceneManager* sceneManager = nullptr;
};
