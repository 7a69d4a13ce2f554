#pragma once

#include <CEGUI/RendererModules/Null/Renderer.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreLogManager.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>

#include <memory>

namespace CEGUI {
class System;
class Window;
} // namespace CEGUI

// A render window that only reports whether it was closed: enough for the frame listener.
class ClosableWindow : public Ogre::RenderWindow {
public:
    bool closed = false;

    bool isClosed() const override { return closed; }
    void create(const Ogre::String&, unsigned int, unsigned int, bool,
                const Ogre::NameValuePairList*) override {}
    void destroy() override {}
    void resize(unsigned int, unsigned int) override {}
    void reposition(int, int) override {}
    void copyContentsToMemory(const Ogre::Box&, const Ogre::PixelBox&, FrameBuffer) override {}
    bool requiresTextureFlipping() const override { return false; }
};

// A real scene and a real GUI without a render system or a display: the engine's root with a
// scene manager and a camera on a node of its own, and the GUI on its null renderer. The GUI
// sheet lets the mouse through; `guiPanel` covers the left half of the 800 x 600 display.
class HeadlessScene {
    std::unique_ptr<Ogre::LogManager> logManager;
    // Stands in for the render system's buffers; outlives the root, whose scene frees its own.
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> bufferManager;
    std::unique_ptr<Ogre::Root> root;

public:
    HeadlessScene();
    ~HeadlessScene();

    static constexpr float displayWidth = 800.0f;
    static constexpr float displayHeight = 600.0f;

    ClosableWindow window;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Camera* camera = nullptr;
    CEGUI::NullRenderer* guiRenderer = nullptr;
    CEGUI::System* guiSystem = nullptr;
    CEGUI::Window* guiPanel = nullptr;
};
