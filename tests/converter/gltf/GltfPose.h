#pragma once

#include "GlbReader.h"

#include <OgreMatrix4.h>

#include <string>
#include <vector>

// The model-space transform of every node of a glTF file at a time of one of its animations,
// computed by the glTF rules: LINEAR translation and scale, spherical rotation, each node's
// matrix the product of its ancestors' and its own translation × rotation × scale.
std::vector<Ogre::Affine3> nodeWorldTransforms(const Glb& glb, const std::string& animation,
                                               float time);

// The skin's inverse bind matrices, in joint order.
std::vector<Ogre::Affine3> inverseBindMatrices(const Glb& glb);
