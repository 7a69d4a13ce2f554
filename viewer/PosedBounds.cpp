#include "PosedBounds.h"

#include <OgreAnimationState.h>
#include <OgreBone.h>
#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreNode.h>
#include <OgreSkeletonInstance.h>

#include <algorithm>

namespace {

bool anyAnimationEnabled(const Ogre::Entity& model) {
    const Ogre::AnimationStateSet* animations = model.getAllAnimationStates();
    return animations && animations->hasEnabledAnimationState();
}

Ogre::AxisAlignedBox boneBox(const Ogre::Skeleton& skeleton) {
    Ogre::AxisAlignedBox box;
    for (const Ogre::Bone* bone : skeleton.getBones())
        box.merge(bone->_getDerivedPosition());
    return box;
}

float reachBeyondBones(const Ogre::AxisAlignedBox& mesh, const Ogre::AxisAlignedBox& bones) {
    const Ogre::Vector3 below = bones.getMinimum() - mesh.getMinimum();
    const Ogre::Vector3 above = mesh.getMaximum() - bones.getMaximum();
    return std::max({0.0f, below.x, below.y, below.z, above.x, above.y, above.z});
}

} // namespace

// The skeleton is put into the binding pose to measure it and then posed as the entity's
// animations say, as the engine does before it draws the model.
Ogre::AxisAlignedBox posedBounds(Ogre::Entity& model) {
    Ogre::SkeletonInstance* skeleton = model.hasSkeleton() ? model.getSkeleton() : nullptr;
    if (!skeleton || !anyAnimationEnabled(model) || skeleton->getNumBones() == 0)
        return model.getWorldBoundingBox(true);
    skeleton->reset(true);
    const Ogre::AxisAlignedBox binding = boneBox(*skeleton);
    skeleton->setAnimationState(*model.getAllAnimationStates());
    Ogre::AxisAlignedBox posed = boneBox(*skeleton);
    const Ogre::Vector3 reach(reachBeyondBones(model.getMesh()->getBounds(), binding));
    posed.setExtents(posed.getMinimum() - reach, posed.getMaximum() + reach);
    posed.transform(model.getParentNode()->_getFullTransform());
    return posed;
}
