#include "MyApplication.h"

#include "ControlPanel.h"
#include "LibraryBrowser.h"
#include "LibraryPanel.h"
#include "MeshList.h"
#include "ResourceRescan.h"
#include "ShownModel.h"
#include "WidgetLookup.h"

#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>

void MyApplication::connectUi() {
    auto* exitButton = findWidget<CEGUI::PushButton>(guiSystem, "btnExit");
    auto* playButton = findWidget<CEGUI::PushButton>(guiSystem, "btnPlay");
    auto* stopButton = findWidget<CEGUI::PushButton>(guiSystem, "btnStop");
    auto* meshBox = findWidget<CEGUI::Combobox>(guiSystem, "cmbMeshBox");
    animationList = findWidget<CEGUI::Listbox>(guiSystem, "lbAnimations");

    listMeshes(*meshBox, setup.library);

    exitButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handleExit, this));
    playButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handlePlay, this));
    stopButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handleStop, this));
    meshBox->subscribeEvent(CEGUI::Combobox::EventListSelectionAccepted,
                            CEGUI::Event::Subscriber(&MyApplication::handleMeshAccepted, this));
}

bool MyApplication::handleExit(const CEGUI::EventArgs&) {
    frameListener->quitRequested = true;
    return true;
}

bool MyApplication::handlePlay(const CEGUI::EventArgs&) {
    const CEGUI::ListboxItem* choice = animationList->getFirstSelectedItem();
    if (choice)
        shownModel->play(choice->getText().c_str());
    return true;
}

bool MyApplication::handleStop(const CEGUI::EventArgs&) {
    shownModel->stop();
    return true;
}

bool MyApplication::handleMeshAccepted(const CEGUI::EventArgs& args) {
    shownModel->stop();
    const auto* meshBox = static_cast<const CEGUI::Combobox*>(
        static_cast<const CEGUI::WindowEventArgs&>(args).window);
    const CEGUI::ListboxItem* choice = meshBox->getSelectedItem();
    if (!choice)
        return true;
    const std::string meshName = choice->getText().c_str();
    timingLog->meshAccepted(meshName);
    if (setup.paths.empty())
        showMesh(meshName);
    else
        showModel(choice->getID() - 1);
    if (shownModel->entity())
        timingLog->meshShown(meshName);
    return true;
}

// The first of the models the command line names, as if the user had picked it.
void MyApplication::showFirstMesh() {
    if (!libraryBrowser->library().models.empty())
        showModel(0);
}

void MyApplication::showMesh(const std::string& meshName) {
    modelShown(shownModel->show(meshName));
}

// The mesh box shows the model's entry, however it was chosen.
void MyApplication::showModel(std::size_t model) {
    findWidget<CEGUI::Combobox>(guiSystem, "cmbMeshBox")->setItemSelectState(model, true);
    const std::string message = libraryBrowser->show(model);
    libraryPanel->modelShown(model);
    modelShown(message);
}

// Browsing the list plays on the animation of the name that played, where the model has one.
void MyApplication::stepToModel(std::size_t model) {
    const Ogre::AnimationState* playing = shownModel->playing();
    const std::string animation = playing ? playing->getAnimationName() : "";
    showModel(model);
    if (!animation.empty() && shownModel->play(animation))
        selectAnimation(animation);
}

void MyApplication::modelShown(const std::string& message) {
    listAnimations();
    controlPanel->modelShown(message);
}

// Files converted since the start join the list: the command line's paths are listed again, or
// else the resource folders are read again.
void MyApplication::relistModels() {
    if (setup.paths.empty())
        rescanResourceLocations();
    else
        libraryBrowser->relist(listModels(setup.paths));
    libraryPanel->relist(relativePaths(libraryBrowser->library()));
    auto* meshBox = findWidget<CEGUI::Combobox>(guiSystem, "cmbMeshBox");
    meshBox->resetList();
    listMeshes(*meshBox, libraryBrowser->library());
}

void MyApplication::selectAnimation(const std::string& name) {
    if (CEGUI::ListboxItem* entry = animationList->findItemWithText(name, nullptr))
        animationList->setItemSelectState(entry, true);
}

void MyApplication::listAnimations() {
    animationList->resetList();
    animationList->setEnabled(true);
    unsigned int id = 0;
    for (const std::string& name : shownModel->animationNames()) {
        CEGUI::ListboxTextItem* entry = createListEntry(name, id++);
        entry->setSelectionBrushImage("TaharezLook/ListboxSelectionBrush");
        animationList->addItem(entry);
    }
}
