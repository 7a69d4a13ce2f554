#include "MyApplication.h"

#include "FailureDescription.h"
#include "MeshFileCheck.h"
#include "ModelTools.h"
#include "ResourceRelease.h"
#include "WidgetLookup.h"

#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>

#include <iostream>

namespace {

CEGUI::ListboxTextItem* createEntry(const std::string& text, unsigned int id) {
    return new CEGUI::ListboxTextItem(text, id, nullptr, false, true);
}

// The engine loads a mesh whose skeleton is missing as a still model and only logs it; the
// viewer shows it so and says why it does not move.
std::string whatIsMissing(const Ogre::Mesh& mesh) {
    if (!mesh.getSkeletonName().empty() && !mesh.getSkeleton())
        return mesh.getName() + " is shown still: its skeleton " + mesh.getSkeletonName() +
               " could not be loaded";
    return "";
}

} // namespace

void MyApplication::connectUi() {
    auto* exitButton = findWidget<CEGUI::PushButton>(guiSystem, "btnExit");
    auto* playButton = findWidget<CEGUI::PushButton>(guiSystem, "btnPlay");
    auto* stopButton = findWidget<CEGUI::PushButton>(guiSystem, "btnStop");
    auto* meshBox = findWidget<CEGUI::Combobox>(guiSystem, "cmbMeshBox");
    animationList = findWidget<CEGUI::Listbox>(guiSystem, "lbAnimations");
    statusText = findOptionalWidget<CEGUI::Window>(guiSystem, "txtStatus");

    listMeshes(meshBox);

    exitButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handleExit, this));
    playButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handlePlay, this));
    stopButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handleStop, this));
    meshBox->subscribeEvent(CEGUI::Combobox::EventListSelectionAccepted,
                            CEGUI::Event::Subscriber(&MyApplication::handleMeshAccepted, this));
    connectModelTools(meshBox);
    connectFraming();
}

// Entry IDs count on across groups; a name found in two groups is listed twice. Models named on
// the command line are listed alone, in the order given.
void MyApplication::listMeshes(CEGUI::Combobox* meshBox) {
    if (!setup.models.empty()) {
        unsigned int id = 1;
        for (const std::string& meshName : setup.models.meshNames)
            meshBox->addItem(createEntry(meshName, id++));
        return;
    }
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    unsigned int id = 1;
    for (const std::string& group : groups.getResourceGroups()) {
        const Ogre::StringVectorPtr meshNames = groups.findResourceNames(group, "*.mesh");
        for (const std::string& meshName : *meshNames)
            meshBox->addItem(createEntry(meshName, id++));
    }
}

bool MyApplication::handleExit(const CEGUI::EventArgs&) {
    frameListener->quitRequested = true;
    return true;
}

bool MyApplication::handlePlay(const CEGUI::EventArgs&) {
    CEGUI::ListboxItem* choice = animationList->getFirstSelectedItem();
    if (!choice)
        return true;
    stopAnimation();
    Ogre::AnimationState* animation = entity->getAnimationState(choice->getText().c_str());
    animation->setEnabled(true);
    modelTools->animationControls->prepareToPlay(*animation);
    frameListener->activeAnimation = animation;
    return true;
}

bool MyApplication::handleStop(const CEGUI::EventArgs&) {
    stopAnimation();
    return true;
}

bool MyApplication::handleMeshAccepted(const CEGUI::EventArgs& args) {
    stopAnimation();
    const auto* meshBox = static_cast<const CEGUI::Combobox*>(
        static_cast<const CEGUI::WindowEventArgs&>(args).window);
    const CEGUI::ListboxItem* choice = meshBox->getSelectedItem();
    if (!choice)
        return true;
    const std::string meshName = choice->getText().c_str();
    timingLog->meshAccepted(meshName);
    reportStatus(showMesh(meshName));
    if (entity)
        timingLog->meshShown(meshName);
    return true;
}

void MyApplication::stopAnimation() {
    modelTools->animationControls->releasePose();
    Ogre::AnimationState* animation = frameListener->activeAnimation;
    frameListener->activeAnimation = nullptr;
    if (animation)
        animation->setEnabled(false);
}

// The first of the meshes named on the command line, as if the user had picked it.
void MyApplication::showFirstMesh() {
    if (setup.models.empty())
        return;
    auto* meshBox = findWidget<CEGUI::Combobox>(guiSystem, "cmbMeshBox");
    meshBox->setItemSelectState(static_cast<size_t>(0), true);
    reportStatus(showMesh(setup.models.meshNames.front()));
}

// Without a status line in the layout, messages go to standard error.
void MyApplication::reportStatus(const std::string& message) {
    if (statusText)
        statusText->setText(message);
    else if (!message.empty())
        std::cerr << "Velmora: " << message << std::endl;
}

// A mesh that cannot be shown leaves the scene empty and says why; the viewer carries on. What
// the previous mesh held and the new one does not use is unloaded.
std::string MyApplication::showMesh(const std::string& meshName) {
    const MeshResources previous = entity ? resourcesOf(*entity->getMesh()) : MeshResources{};
    modelNode->detachAllObjects();
    if (entity)
        sceneManager->destroyAllEntities();
    entity = nullptr;
    std::string message;
    try {
        entity = createModel(meshName);
        message = whatIsMissing(*entity->getMesh());
    } catch (...) { // the engine's own errors, and what it lets through from a damaged file
        message = "Cannot show " + meshName + ": " + describeCurrentException();
    }
    unloadUnused(previous, entity ? resourcesOf(*entity->getMesh()) : MeshResources{});
    listAnimations();
    describeShownModel();
    if (entity) {
        modelNode->attachObject(entity);
        modelNode->setPosition(-entity->getBoundingBox().getCenter());
    }
    return message;
}

Ogre::Entity* MyApplication::createModel(const std::string& meshName) {
    const std::string damage = modelFilesFault(meshName);
    if (!damage.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, damage, "MyApplication::createModel");
    // Every model is the entity "cc", whatever its mesh: a name kept from the first viewer, which
    // the scene never holds twice since the previous model is destroyed first.
    return sceneManager->createEntity("cc", meshName);
}

void MyApplication::listAnimations() {
    animationList->resetList();
    animationList->setEnabled(true);
    const Ogre::AnimationStateSet* animations = entity ? entity->getAllAnimationStates() : nullptr;
    if (!animations)
        return;
    unsigned int id = 0;
    for (const auto& [name, animation] : animations->getAnimationStates()) {
        CEGUI::ListboxTextItem* entry = createEntry(name, id++);
        entry->setSelectionBrushImage("TaharezLook/ListboxSelectionBrush");
        animationList->addItem(entry);
    }
}
