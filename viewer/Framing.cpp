#include "Framing.h"

#include <OgreAxisAlignedBox.h>
#include <OgreCamera.h>
#include <OgreSceneNode.h>

#include <algorithm>
#include <cmath>

namespace {

// Room around the sphere, so that the model does not touch the view's edges.
constexpr float margin = 1.1f;
// The near clip stays this share of the model's size in front of the camera: close enough to
// walk up to the model, far enough for the depth buffer to keep its precision.
constexpr float nearShare = 0.01f;
// The far clip leaves room to back away this many times the framing distance.
constexpr float farShare = 10.0f;

// Half the narrower of the view's two opening angles.
float halfViewAngle(const Ogre::Camera& camera) {
    const float halfHeight = camera.getFOVy().valueRadians() / 2;
    const float halfWidth = std::atan(std::tan(halfHeight) * camera.getAspectRatio());
    return std::min(halfHeight, halfWidth);
}

} // namespace

void frameModel(Ogre::Camera& camera, const Ogre::AxisAlignedBox& worldBounds) {
    if (!worldBounds.isFinite())
        return;
    const float radius = std::max(worldBounds.getHalfSize().length(), 1e-3f);
    const float distance = margin * radius / std::sin(halfViewAngle(camera));
    Ogre::SceneNode* cameraNode = camera.getParentSceneNode();
    cameraNode->setOrientation(Ogre::Quaternion::IDENTITY);
    cameraNode->setPosition(worldBounds.getCenter() + Ogre::Vector3(0, 0, distance));
    camera.setNearClipDistance(nearShare * radius);
    camera.setFarClipDistance(farShare * (distance + radius));
}
