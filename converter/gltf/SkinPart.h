#pragma once

#include "GltfDocument.h"

#include <OgreSkeleton.h>

#include <vector>

struct SkinNodes {
    int skin;
    std::vector<int> rootJoints; // the node indices of the bones without a parent
};

// Adds one node per bone, node i for the bone of handle i, named as the bone, in the bone
// hierarchy, at the binding pose the .skeleton holds; and the skin whose joints are those nodes,
// with the inverse of each bone's binding transform in model space. The skeleton must hold
// bones, and their handles must run from 0 without a gap, as the engine keeps them.
SkinNodes addSkin(GltfDocument& document, const Ogre::Skeleton& skeleton);
