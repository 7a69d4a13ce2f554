#pragma once

#include <OgreSceneManager.h>

namespace Ogre {
class Entity;
class ManualObject;
class SceneNode;
} // namespace Ogre

// Lines drawn over the shown model, through it: the skeleton (a line from each bone to each of
// its children, a cross at each joint, in the pose of the current frame) and the bounding box.
// Rebuilt before each render from the entity on show, so they follow the animation and a new
// mesh without being told.
class ModelOverlays : public Ogre::SceneManager::Listener {
public:
    // `modelNode` and `entity` are read when drawing, so they may still be null now.
    ModelOverlays(Ogre::SceneManager& scene, Ogre::SceneNode* const& modelNode,
                  Ogre::Entity* const& entity);
    ~ModelOverlays() override;
    ModelOverlays(const ModelOverlays&) = delete;
    ModelOverlays& operator=(const ModelOverlays&) = delete;

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
    Ogre::SceneNode* const& modelNode;
    Ogre::Entity* const& entity;
    Ogre::ManualObject* lines;
    bool skeletonShown = false;
    bool boundsShown = false;
};
