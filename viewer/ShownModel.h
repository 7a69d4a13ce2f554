#pragma once

#include "AnimationClock.h"
#include "ModelFacts.h"
#include "ModelOverlays.h"
#include "ResourceRelease.h"

#include <optional>
#include <string>
#include <vector>

namespace Ogre {
class AnimationState;
class Camera;
class Entity;
class SceneManager;
class SceneNode;
} // namespace Ogre

// What the viewer has on show: one model on its scene node with its centre at the origin, the
// animation that plays or the pose the model holds, the loop and speed of play, the overlays
// drawn over it and its facts. It knows nothing of the GUI: the window's controls, the command
// line's pictures and any other view of a model all go through it.
class ShownModel {
public:
    // The model hangs on `node`; `clock` is advanced every frame by whoever runs the frames.
    ShownModel(Ogre::SceneManager& scene, Ogre::SceneNode& node, AnimationClock& clock);

    // Shows the mesh in place of the one on show, stopping what played. Returns why it cannot be
    // shown (then no model is) or what is missing from it; empty when it shows in full.
    // The mesh and what it names are taken from `group`; without one, from any group.
    std::string show(const std::string& meshName);
    std::string show(const std::string& meshName, const std::string& group);
    // Takes the model away, stopping what played; what it held is unloaded.
    void clear();
    Ogre::Entity* entity() const { return model; }
    Ogre::SceneNode& node() const { return modelNode; }
    // The model's animations in ascending order of name; none without a model.
    std::vector<std::string> animationNames() const;
    std::optional<ModelFacts> facts() const;

    // Plays the animation from where it stands, looped when looping is on (from its start when
    // it had run to its end); the previous one stops. False when the model has none of the name.
    bool play(const std::string& animationName);
    // Stops the playing animation where it is and lets go of a held pose.
    void stop();
    const Ogre::AnimationState* playing() const { return clock.activeAnimation; }
    // The playing animation, else the one named; null when there is neither.
    const Ogre::AnimationState* animationOnShow(const std::string& chosen) const;
    // Moves the animation on show to `seconds`. With nothing playing, the model holds that pose
    // of the chosen animation until the next stop, play or show.
    void seek(const std::string& chosen, float seconds);
    // Holds the pose `seconds` into the animation played once through. False when the model has
    // none of the name.
    bool pose(const std::string& animationName, float seconds);

    // An animation resting on its end pose keeps resting there until it is played again.
    void setLooping(bool looping);
    void setSpeed(float speed) { clock.animationSpeed = speed; }
    float speed() const { return clock.animationSpeed; }

    // Places the camera so that the whole model fits its view, in the pose it holds or plays;
    // without a model nothing moves.
    void frame(Ogre::Camera& camera) const;
    void showSkeleton(bool shown) { overlays.showSkeleton(shown); }
    void showBounds(bool shown) { overlays.showBounds(shown); }

private:
    MeshResources removeModel();
    Ogre::Entity* createModel(const std::string& meshName, const std::string& group);
    Ogre::AnimationState* shownAnimation(const std::string& chosen) const;
    void hold(Ogre::AnimationState& animation);
    void releasePose();

    Ogre::SceneManager& scene;
    Ogre::SceneNode& modelNode;
    AnimationClock& clock;
    ModelOverlays overlays;
    Ogre::Entity* model = nullptr;
    Ogre::AnimationState* posed = nullptr; // held by a seek or a pose while nothing plays
    bool looping = false;
};
