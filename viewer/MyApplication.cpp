#include "MyApplication.h"

#include "ControlPanel.h"
#include "LibraryBrowser.h"
#include "LibraryPanel.h"
#include "ModelListbox.h"
#include "RepeatedMaterials.h"
#include "ShownModel.h"
#include "StartupError.h"
#include "ViewArea.h"
#include "WidgetLookup.h"

#include <Bites/OgreBitesConfigDialog.h>
#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <OgreCamera.h>
#include <OgreConfigFile.h>
#include <OgreLogManager.h>
#include <OgreRenderWindow.h>
#include <OgreResourceGroupManager.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreViewport.h>

#include <fstream>
#include <utility>

namespace {

// The group of resources.cfg that the GUI's files are in; with models named on the command line
// it is the only group of that file used.
constexpr const char* guiGroup = "GUI";

// The engine only logs a missing plug-in list and then runs without any render system.
void requireReadable(const std::string& fileName) {
    if (!std::ifstream(fileName))
        throw StartupError("cannot read " + fileName);
}

std::unique_ptr<Ogre::LogManager> createQuietLog() {
    auto logManager = std::make_unique<Ogre::LogManager>();
    logManager->createLog("Ogre.log", true, false);
    return logManager;
}

} // namespace

MyApplication::MyApplication(ViewerSetup viewerSetup)
    : setup(std::move(viewerSetup)), logManager(createQuietLog()) {
    const std::string pluginsFile = configFile("plugins.cfg");
    requireReadable(pluginsFile);
    whileLoading(pluginsFile, [this, &pluginsFile] {
        root = std::make_unique<Ogre::Root>(pluginsFile, configFile("ogre.cfg"), "Ogre.log");
    });
}

std::string MyApplication::configFile(const char* fileName) const {
    return locationInConfiguration(setup.configFolder, fileName);
}

// The GUI goes before the engine's root: it still holds the root's textures and listeners.
MyApplication::~MyApplication() {
    if (guiRenderer)
        CEGUI::OgreRenderer::destroySystem();
    viewArea.reset();
    libraryPanel.reset();
    controlPanel.reset();
    libraryBrowser.reset();
    shownModel.reset();
    eventProcessor.reset();
    frameListener.reset();
    root.reset();
}

void MyApplication::run() {
    if (!startUp())
        return;
    buildScene();
    showFirstMesh();
    root->startRendering();
}

bool MyApplication::startUp() {
    if (root->getAvailableRenderers().empty())
        throw StartupError(configFile("plugins.cfg") + " loads no render system");
    if (!root->restoreConfig() && !root->showConfigDialog(OgreBites::getNativeConfigDialog()))
        return false;
    if (setup.windowWidth > 0)
        root->getRenderSystem()->setConfigOption("Video Mode",
                                                 std::to_string(setup.windowWidth) + " x " +
                                                     std::to_string(setup.windowHeight));
    window = root->initialise(true, "OGRE Render Window");
    sceneManager = root->createSceneManager(Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME,
                                            "SceneManager");
    createCamera();
    createViewport();
    loadResourceLocations();
    setUpGui();
    frameListener = std::make_unique<MyFrameListener>(window, camera, guiSystem, guiRenderer);
    root->addFrameListener(frameListener.get());
    eventProcessor = std::make_unique<OisEventProcessor>(window, frameListener.get());
    root->addFrameListener(eventProcessor.get());
    if (timingLog->isOn())
        root->addFrameListener(timingLog);
    connectUi();
    return true;
}

// The camera moves and turns through a scene node of its own.
void MyApplication::createCamera() {
    camera = sceneManager->createCamera("MainCamera");
    Ogre::SceneNode* cameraNode = sceneManager->getRootSceneNode()->createChildSceneNode();
    cameraNode->attachObject(camera);
    cameraNode->setPosition(0, 0, 500);
    cameraNode->lookAt(Ogre::Vector3(0, 0, -500), Ogre::Node::TS_WORLD);
    camera->setNearClipDistance(5);
}

void MyApplication::createViewport() {
    Ogre::Viewport* viewport = window->addViewport(camera, 0, 0, 0, 1, 1);
    // 255 rather than 1 per component on purpose: the engine clamps it to white, the viewer's
    // background ever since, which users' screenshots and the tests' pixel checks rely on.
    viewport->setBackgroundColour(Ogre::ColourValue(255.0f, 255.0f, 255.0f, 1.0f));
    // Follows the window's size from now on, so a resized window does not stretch the model.
    camera->setAutoAspectRatio(true);
    camera->setAspectRatio(static_cast<float>(static_cast<double>(viewport->getActualWidth()) /
                                              viewport->getActualHeight()));
}

void MyApplication::buildScene() {
    sceneManager->setAmbientLight(Ogre::ColourValue(0.5f, 0.5f, 0.5f, 1.0f));
    Ogre::Light* light = sceneManager->createLight("MainLight");
    Ogre::SceneNode* lightNode = sceneManager->getRootSceneNode()->createChildSceneNode();
    lightNode->attachObject(light);
    lightNode->setPosition(20, 80, 50);
    Ogre::SceneNode* modelNode = sceneManager->getRootSceneNode()->createChildSceneNode(
        Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    shownModel = std::make_unique<ShownModel>(*sceneManager, *modelNode, *frameListener);
    libraryBrowser = std::make_unique<LibraryBrowser>(setup.library, *shownModel);
    timingLog->follow([model = shownModel.get()] { return model->playing(); });
    connectControlPanel();
}

void MyApplication::connectControlPanel() {
    controlPanel =
        std::make_unique<ControlPanel>(*guiSystem->getDefaultGUIContext().getRootWindow(),
                                       *shownModel, *camera, [this] { relistModels(); });
    controlPanel->connect(*root, *window, *frameListener);
    libraryPanel = std::make_unique<LibraryPanel>(
        *guiSystem->getDefaultGUIContext().getRootWindow(),
        relativePaths(libraryBrowser->library()), [this](std::size_t model) { stepToModel(model); },
        *timingLog);
    libraryPanel->bindKeys(*frameListener);
    viewArea = std::make_unique<ViewArea>(*window, *window->getViewport(0),
                                          *guiSystem->getDefaultGUIContext().getRootWindow());
}

Ogre::SceneNode* MyApplication::getModelNode() const {
    return &shownModel->node();
}

Ogre::Entity* MyApplication::getEntity() const {
    return shownModel->entity();
}

void MyApplication::loadResourceLocations() {
    const std::string resourcesFile = configFile("resources.cfg");
    whileLoading(resourcesFile, [this, &resourcesFile] {
        Ogre::ConfigFile resources;
        resources.load(resourcesFile, "\t:=", true);
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        for (const auto& [group, settings] : resources.getSettingsBySection())
            if (setup.paths.empty() || group == guiGroup)
                for (const auto& [archiveType, location] : settings)
                    groups.addResourceLocation(
                        locationInConfiguration(setup.configFolder, location), archiveType, group,
                        false);
        repeatedMaterials = std::make_unique<RepeatedMaterials>();
        groups.initialiseAllResourceGroups();
    });
}

void MyApplication::setUpGui() {
    // CEGUI reports its own exceptions on standard error; the program's entry reports them once.
    CEGUI::Exception::setStdErrEnabled(false);
    guiRenderer = &CEGUI::OgreRenderer::bootstrapSystem(*window);
    guiSystem = CEGUI::System::getSingletonPtr();
    CEGUI::Logger::getSingleton().setLoggingLevel(CEGUI::Informative);
    whileLoading("TaharezLook.scheme",
                 [] { CEGUI::SchemeManager::getSingleton().createFromFile("TaharezLook.scheme"); });
    ModelListbox::registerType();
    CEGUI::GUIContext& gui = guiSystem->getDefaultGUIContext();
    gui.getMouseCursor().setDefaultImage("TaharezLook/MouseArrow");
    // Without explicit bounds the cursor is held at a position outside the display.
    gui.getMouseCursor().setConstraintArea(nullptr);
    // Out of sight until the pointer first moves over the window, rather than in its middle.
    gui.getMouseCursor().hide();
    whileLoading("Tahoma-12.font",
                 [] { CEGUI::FontManager::getSingleton().createFromFile("Tahoma-12.font"); });
    gui.setDefaultFont("Tahoma-12");
    gui.setDefaultTooltipType("TaharezLook/Tooltip");
    whileLoading("velmora.layout", [&gui] {
        gui.setRootWindow(
            CEGUI::WindowManager::getSingleton().loadLayoutFromFile("velmora.layout"));
    });
}
