#include "ShownModel.h"

#include "FailureDescription.h"
#include "Framing.h"
#include "MeshFileCheck.h"
#include "PosedBounds.h"

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreResourceGroupManager.h>
#include <OgreSceneManager.h>

namespace {

// The engine loads a mesh whose skeleton is missing as a still model and only logs it; the
// viewer shows it so and says why it does not move.
std::string whatIsMissing(const Ogre::Mesh& mesh) {
    if (!mesh.getSkeletonName().empty() && !mesh.getSkeleton())
        return mesh.getName() + " is shown still: its skeleton " + mesh.getSkeletonName() +
               " could not be loaded";
    return "";
}

// Whether the animation rests on its end pose, whatever its loop flag.
bool ended(const Ogre::AnimationState& animation) {
    return animation.getTimePosition() >= animation.getLength();
}

} // namespace

ShownModel::ShownModel(Ogre::SceneManager& scene, Ogre::SceneNode& node, AnimationClock& clock)
    : scene(scene), modelNode(node), clock(clock), overlays(scene, node) {}

// A mesh that cannot be shown leaves the scene empty and says why; the viewer carries on. What
// the previous mesh held and the new one does not use is unloaded.
std::string ShownModel::show(const std::string& meshName) {
    return show(meshName, Ogre::RGN_AUTODETECT);
}

std::string ShownModel::show(const std::string& meshName, const std::string& group) {
    const MeshResources previous = removeModel();
    std::string message;
    try {
        model = createModel(meshName, group);
        message = whatIsMissing(*model->getMesh());
    } catch (...) { // the engine's own errors, and what it lets through from a damaged file
        message = "Cannot show " + meshName + ": " + describeCurrentException();
    }
    unloadUnused(previous, model ? resourcesOf(*model->getMesh()) : MeshResources{});
    if (model) {
        modelNode.attachObject(model);
        modelNode.setPosition(-model->getBoundingBox().getCenter());
    }
    overlays.drawOver(model);
    return message;
}

void ShownModel::clear() {
    unloadUnused(removeModel(), MeshResources{});
    overlays.drawOver(nullptr);
}

// What the removed model held, still loaded.
MeshResources ShownModel::removeModel() {
    stop();
    const MeshResources previous = model ? resourcesOf(*model->getMesh()) : MeshResources{};
    modelNode.detachAllObjects();
    if (model)
        scene.destroyAllEntities();
    model = nullptr;
    return previous;
}

Ogre::Entity* ShownModel::createModel(const std::string& meshName, const std::string& group) {
    const std::string damage = modelFilesFault(meshName, group);
    if (!damage.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, damage, "ShownModel::createModel");
    // Every model is the entity "cc", whatever its mesh: a name kept from the first viewer, which
    // the scene never holds twice since the previous model is destroyed first.
    return scene.createEntity("cc", meshName, group);
}

std::vector<std::string> ShownModel::animationNames() const {
    std::vector<std::string> names;
    if (const Ogre::AnimationStateSet* animations =
            model ? model->getAllAnimationStates() : nullptr)
        for (const auto& [name, animation] : animations->getAnimationStates())
            names.push_back(name);
    return names;
}

std::optional<ModelFacts> ShownModel::facts() const {
    if (!model)
        return std::nullopt;
    return gatherModelFacts(*model->getMesh());
}

bool ShownModel::play(const std::string& animationName) {
    if (!model || !model->hasAnimationState(animationName))
        return false;
    stop();
    Ogre::AnimationState* animation = model->getAnimationState(animationName);
    animation->setEnabled(true);
    const bool hasEnded = ended(*animation);
    animation->setLoop(looping);
    if (looping && hasEnded)
        animation->setTimePosition(0);
    clock.activeAnimation = animation;
    return true;
}

void ShownModel::stop() {
    releasePose();
    Ogre::AnimationState* animation = clock.activeAnimation;
    clock.activeAnimation = nullptr;
    if (animation)
        animation->setEnabled(false);
}

// Disables the pose held while nothing played; done before the entity goes.
void ShownModel::releasePose() {
    if (posed && posed != clock.activeAnimation)
        posed->setEnabled(false);
    posed = nullptr;
}

Ogre::AnimationState* ShownModel::shownAnimation(const std::string& chosen) const {
    if (clock.activeAnimation)
        return clock.activeAnimation;
    return model && model->hasAnimationState(chosen) ? model->getAnimationState(chosen) : nullptr;
}

const Ogre::AnimationState* ShownModel::animationOnShow(const std::string& chosen) const {
    return shownAnimation(chosen);
}

// One pose at a time, so that no second animation blends in.
void ShownModel::hold(Ogre::AnimationState& animation) {
    if (&animation == clock.activeAnimation || &animation == posed)
        return;
    releasePose();
    animation.setEnabled(true);
    posed = &animation;
}

void ShownModel::seek(const std::string& chosen, float seconds) {
    Ogre::AnimationState* animation = shownAnimation(chosen);
    if (!animation)
        return;
    hold(*animation);
    animation->setTimePosition(seconds);
}

bool ShownModel::pose(const std::string& animationName, float seconds) {
    if (!model || !model->hasAnimationState(animationName))
        return false;
    Ogre::AnimationState* animation = model->getAnimationState(animationName);
    hold(*animation);
    animation->setLoop(false);
    animation->setTimePosition(seconds);
    return true;
}

// The engine would carry a looping animation that rests on its end pose on from its start at
// once; it stays there until it is played again.
void ShownModel::setLooping(bool on) {
    looping = on;
    Ogre::AnimationState* animation = clock.activeAnimation;
    if (animation && !ended(*animation))
        animation->setLoop(on);
}

void ShownModel::frame(Ogre::Camera& camera) const {
    if (model)
        frameModel(camera, posedBounds(*model));
}
