#pragma once

#include "MyFrameListener.h"
#include "OisEventProcessor.h"
#include "ResourcePaths.h"
#include "TimingLog.h"

#include <memory>
#include <string>

namespace CEGUI {
class EventArgs;
class Combobox;
class Listbox;
class OgreRenderer;
class System;
class Window;
} // namespace CEGUI
namespace Ogre {
class Camera;
class Entity;
class LogManager;
class RenderWindow;
class Root;
class SceneManager;
class SceneNode;
} // namespace Ogre

struct ModelTools;
class RepeatedMaterials;

// The viewer: brings up the engine, the GUI and the input from the configuration files, shows
// the mesh the user picks and runs the render loop until asked to stop.
class MyApplication {
public:
    explicit MyApplication(ViewerSetup setup = {});
    ~MyApplication();

    // The log must outlive the application; without one the viewer times nothing.
    void logTimingTo(TimingLog& log) { timingLog = &log; }
    void run();
    // False when there was no saved render configuration and the user cancelled the dialog.
    bool startUp();
    void buildScene();

    bool handleExit(const CEGUI::EventArgs& args);
    bool handlePlay(const CEGUI::EventArgs& args);
    bool handleStop(const CEGUI::EventArgs& args);
    bool handleMeshAccepted(const CEGUI::EventArgs& args);
    bool handleRescan(const CEGUI::EventArgs& args);
    bool handleFrame(const CEGUI::EventArgs& args);

    // Shows the mesh in place of the one on show. Returns why it cannot be shown (then no model
    // is) or what is missing from it, empty when it shows in full.
    std::string showMesh(const std::string& meshName);
    void frameShownModel();

    Ogre::Root* getRoot() const { return root.get(); }
    Ogre::RenderWindow* getWindow() const { return window; }
    Ogre::Camera* getCamera() const { return camera; }
    Ogre::SceneNode* getModelNode() const { return modelNode; }
    Ogre::Entity* getEntity() const { return entity; }
    MyFrameListener* getFrameListener() const { return frameListener.get(); }
    CEGUI::System* getGuiSystem() const { return guiSystem; }

private:
    void createCamera();
    void createViewport();
    void loadResourceLocations();
    void setUpGui();
    void connectUi();
    void listMeshes(CEGUI::Combobox* meshBox);
    void showFirstMesh();
    void connectFraming();
    void reportStatus(const std::string& message);
    std::string configFile(const char* fileName) const;
    Ogre::Entity* createModel(const std::string& meshName);
    void listAnimations();
    void stopAnimation();
    void connectModelTools(CEGUI::Combobox* meshBox);
    void describeShownModel();

    ViewerSetup setup;
    // Created ahead of the root so that the engine's log does not echo to standard output.
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::Root> root;
    Ogre::Camera* camera = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    std::unique_ptr<MyFrameListener> frameListener;
    std::unique_ptr<OisEventProcessor> eventProcessor;
    Ogre::RenderWindow* window = nullptr;
    CEGUI::OgreRenderer* guiRenderer = nullptr;
    CEGUI::System* guiSystem = nullptr;
    Ogre::Entity* entity = nullptr;
    Ogre::SceneNode* modelNode = nullptr;
    CEGUI::Listbox* animationList = nullptr;
    CEGUI::Window* statusText = nullptr;
    std::unique_ptr<ModelTools> modelTools;
    std::unique_ptr<RepeatedMaterials> repeatedMaterials;
    TimingLog noTimingLog{""};
    TimingLog* timingLog = &noTimingLog;
};
