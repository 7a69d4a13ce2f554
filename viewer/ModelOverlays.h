#pragma once

#include <OgreSceneManager.h>

namespace Ogre {
class Entity;
class ManualObject;
class SceneNode;
} // namespace Ogre

// Lines drawn over the shown model, through it: the skeleton (a line from each bone to each of
// its children, a cross at each joint, in the pose of the current frame) and the bounding box.
// Rebuilt before each render, so they follow the animation.
class ModelOverlays : public Ogre::SceneManager::Listener {
public:
    // The model on show hangs on `modelNode`.
    ModelOverlays(Ogre::SceneManager& scene, Ogre::SceneNode& modelNode);
    ~ModelOverlays() override;
    ModelOverlays(const ModelOverlays&) = delete;
    ModelOverlays& operator=(const ModelOverlays&) = delete;

    // The entity to draw over from now on; null for none.
    void drawOver(Ogre::Entity* model) { entity = model; }
    void showSkeleton(bool shown) { skeletonShown = shown; }
    void showBounds(bool shown) { boundsShown = shown; }

    void preUpdateSceneGraph(Ogre::SceneManager* scene, Ogre::Camera* camera) override;

private:
    void attachToModelNode();
    void addSkeletonLines(Ogre::Entity& model);
    void addBoundsLines(const Ogre::AxisAlignedBox& box);
    void addLine(const Ogre::Vector3& from, const Ogre::Vector3& to,
                 const Ogre::ColourValue& colour);

    Ogre::SceneManager& scene;
    Ogre::SceneNode& modelNode;
    Ogre::Entity* entity = nullptr;
    Ogre::ManualObject* lines;
    bool skeletonShown = false;
    bool boundsShown = false;
};
