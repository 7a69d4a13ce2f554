#pragma once

namespace Ogre {
class AxisAlignedBox;
class Camera;
} // namespace Ogre

// Places the camera in front of the model (on the +z side of its centre, looking along -z, level)
// at the distance where the sphere around its bounding box fits the view, whatever the model's
// size, and sets the near and far clip distances by that size so that none of it is clipped.
// The camera must hang on a scene node of its own. An empty or infinite box changes nothing.
void frameModel(Ogre::Camera& camera, const Ogre::AxisAlignedBox& worldBounds);
