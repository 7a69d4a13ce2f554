#include "MyApplication.h"

#include "MeshFileCheck.h"
#include "StartupError.h"

#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>

namespace {

template <typename Widget> Widget* findWidget(CEGUI::System* guiSystem, const char* name) {
    CEGUI::Window* sheet = guiSystem->getDefaultGUIContext().getRootWindow();
    auto* widget = dynamic_cast<Widget*>(sheet->getChildRecursive(name));
    if (!widget)
        throw StartupError(std::string("velmora.layout has no widget \"") + name + "\" of type " +
                           Widget::EventNamespace.c_str());
    return widget;
}

CEGUI::ListboxTextItem* createEntry(const std::string& text, unsigned int id) {
    return new CEGUI::ListboxTextItem(text, id, nullptr, false, true);
}

// The engine loads a mesh whose skeleton is missing as a still model and only logs it; the
// viewer treats it as a mesh it cannot show.
std::string whyUnshowable(const Ogre::Mesh& mesh) {
    if (!mesh.getSkeletonName().empty() && !mesh.getSkeleton())
        return "its skeleton " + mesh.getSkeletonName() + " could not be loaded";
    return "";
}

} // namespace

void MyApplication::connectUi() {
    auto* exitButton = findWidget<CEGUI::PushButton>(guiSystem, "btnExit");
    auto* playButton = findWidget<CEGUI::PushButton>(guiSystem, "btnPlay");
    auto* stopButton = findWidget<CEGUI::PushButton>(guiSystem, "btnStop");
    auto* meshBox = findWidget<CEGUI::Combobox>(guiSystem, "cmbMeshBox");
    animationList = findWidget<CEGUI::Listbox>(guiSystem, "lbAnimations");
    statusText = findWidget<CEGUI::Window>(guiSystem, "txtStatus");

    listMeshes(meshBox);

    exitButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handleExit, this));
    playButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handlePlay, this));
    stopButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                               CEGUI::Event::Subscriber(&MyApplication::handleStop, this));
    meshBox->subscribeEvent(CEGUI::Combobox::EventListSelectionAccepted,
                            CEGUI::Event::Subscriber(&MyApplication::handleMeshAccepted, this));
}

// Entry IDs count on across groups; a name found in two groups is listed twice.
void MyApplication::listMeshes(CEGUI::Combobox* meshBox) {
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
    animation->setLoop(false);
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
    showMesh(meshName);
    if (entity)
        timingLog->meshShown(meshName);
    return true;
}

void MyApplication::stopAnimation() {
    Ogre::AnimationState* animation = frameListener->activeAnimation;
    frameListener->activeAnimation = nullptr;
    if (animation)
        animation->setEnabled(false);
}

// A mesh that cannot be shown leaves the scene empty and says why; the viewer carries on.
void MyApplication::showMesh(const std::string& meshName) {
    modelNode->detachAllObjects();
    if (entity)
        sceneManager->destroyAllEntities();
    entity = nullptr;
    try {
        entity = createModel(meshName);
        statusText->setText("");
    } catch (const Ogre::Exception& error) {
        statusText->setText("Cannot show " + meshName + ": " + error.getDescription());
    }
    listAnimations();
    if (!entity)
        return;
    modelNode->attachObject(entity);
    modelNode->setPosition(-entity->getBoundingBox().getCenter());
}

Ogre::Entity* MyApplication::createModel(const std::string& meshName) {
    const std::string damage = modelFilesFault(meshName);
    if (!damage.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, damage, "MyApplication::createModel");
    Ogre::Entity* model = sceneManager->createEntity("cc", meshName);
    const std::string fault = whyUnshowable(*model->getMesh());
    if (!fault.empty()) {
        sceneManager->destroyEntity(model);
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, fault, "MyApplication::createModel");
    }
    return model;
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
