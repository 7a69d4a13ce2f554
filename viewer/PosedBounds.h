#pragma once

#include <OgreAxisAlignedBox.h>

namespace Ogre {
class Entity;
}

// The box the model takes up in its current pose, in world space: the box of its bones where the
// enabled animations put them, grown on every side by the most that the mesh stands out of the
// box of its bones in the binding pose. The engine's own box of the model is that of the binding
// pose, which a raised arm leaves. A model without a skeleton or without an enabled animation has
// the engine's box.
Ogre::AxisAlignedBox posedBounds(Ogre::Entity& model);
