#pragma once

#include "MyFrameListener.h"
#include "OisEventProcessor.h"
#include "ResourcePaths.h"
#include "TimingLog.h"

#include <memory>
#include <string>

namespace CEGUI {
class EventArgs;
class Listbox;
class OgreRenderer;
class System;
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

class ControlPanel;
class LibraryBrowser;
class LibraryPanel;
class RepeatedMaterials;
class ShownModel;
class ViewArea;

// The viewer: brings up the engine, the GUI and the input from the configuration files, wires
// the controls that choose, play and stop a model, and runs the render loop until asked to stop.
// What is on show is the shown model's, the other controls are the control panel's.
class MyApplication {
public:
    explicit MyApplication(ViewerSetup setup = {});
    ~MyApplication();

    // The log must outlive the application; without one the viewer times nothing.
    void logTimingTo(TimingLog& log) { timingLog = &log; }
    void run();
    // False when there was no saved render configuration and the user cancelled the dialog.
    bool startUp();
    // The lights, the model's node with the shown model on it, and the control panel.
    void buildScene();

    bool handleExit(const CEGUI::EventArgs& args);
    bool handlePlay(const CEGUI::EventArgs& args);
    bool handleStop(const CEGUI::EventArgs& args);
    bool handleMeshAccepted(const CEGUI::EventArgs& args);

    Ogre::Root* getRoot() const { return root.get(); }
    Ogre::RenderWindow* getWindow() const { return window; }
    Ogre::Camera* getCamera() const { return camera; }
    MyFrameListener* getFrameListener() const { return frameListener.get(); }
    CEGUI::System* getGuiSystem() const { return guiSystem; }
    // Those of the shown model, there once the scene is built.
    ShownModel& getShownModel() const { return *shownModel; }
    // The models of the command line's paths, shown through the shown model.
    LibraryBrowser& getLibraryBrowser() const { return *libraryBrowser; }
    Ogre::SceneNode* getModelNode() const;
    Ogre::Entity* getEntity() const;

private:
    void createCamera();
    void createViewport();
    void loadResourceLocations();
    void setUpGui();
    void connectUi();
    void connectControlPanel();
    void showFirstMesh();
    void showMesh(const std::string& meshName);
    void showModel(std::size_t model);
    void stepToModel(std::size_t model);
    void modelShown(const std::string& message);
    void relistModels();
    void listAnimations();
    void selectAnimation(const std::string& name);
    std::string configFile(const char* fileName) const;

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
    std::unique_ptr<ShownModel> shownModel;
    std::unique_ptr<LibraryBrowser> libraryBrowser;
    std::unique_ptr<ControlPanel> controlPanel;
    std::unique_ptr<LibraryPanel> libraryPanel;
    std::unique_ptr<ViewArea> viewArea;
    CEGUI::Listbox* animationList = nullptr;
    std::unique_ptr<RepeatedMaterials> repeatedMaterials;
    TimingLog noTimingLog{""};
    TimingLog* timingLog = &noTimingLog;
};
