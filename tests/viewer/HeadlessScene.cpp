#include "HeadlessScene.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>
#include <OgreCamera.h>
#include <OgreMaterialManager.h>
#include <OgreSceneManager.h>

namespace {

CEGUI::Window* createSheet(CEGUI::System& guiSystem) {
    CEGUI::Window* sheet = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow");
    sheet->setMousePassThroughEnabled(true);
    guiSystem.getDefaultGUIContext().setRootWindow(sheet);
    return sheet;
}

CEGUI::Window* addLeftHalfPanel(CEGUI::Window& sheet) {
    CEGUI::Window* panel = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow");
    panel->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(0.5f, 0),
                                CEGUI::UDim(1, 0)));
    sheet.addChild(panel);
    return panel;
}

} // namespace

namespace {

std::unique_ptr<Ogre::LogManager> createSilentLog() {
    auto logManager = std::make_unique<Ogre::LogManager>();
    logManager->createLog("headless.log", true, false, true);
    return logManager;
}

} // namespace

HeadlessScene::HeadlessScene()
    : logManager(createSilentLog()),
      bufferManager(std::make_unique<Ogre::DefaultHardwareBufferManager>()),
      root(std::make_unique<Ogre::Root>("", "", "")) {
    // Root::initialise would do this, but it needs a render system.
    Ogre::MaterialManager::getSingleton().initialise();
    sceneManager = root->createSceneManager();
    camera = sceneManager->createCamera("MainCamera");
    sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(camera);

    CEGUI::Exception::setStdErrEnabled(false);
    guiRenderer = &CEGUI::NullRenderer::bootstrapSystem();
    guiRenderer->setDisplaySize(CEGUI::Sizef(displayWidth, displayHeight));
    guiSystem = CEGUI::System::getSingletonPtr();
    guiSystem->notifyDisplaySizeChanged(CEGUI::Sizef(displayWidth, displayHeight));
    // The cursor's default bounds are unusable: without this it never moves.
    guiSystem->getDefaultGUIContext().getMouseCursor().setConstraintArea(nullptr);
    guiPanel = addLeftHalfPanel(*createSheet(*guiSystem));
}

HeadlessScene::~HeadlessScene() {
    CEGUI::WindowManager::getSingleton().destroyAllWindows();
    CEGUI::NullRenderer::destroySystem();
}
