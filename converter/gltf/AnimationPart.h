#pragma once

#include "GltfDocument.h"

#include <OgreSkeleton.h>

// Adds one glTF animation per skeleton animation, of the same name, animating the bone nodes
// (node i is the bone of handle i). Each animated bone gets a translation and a rotation channel
// of absolute local transforms, sampled as the engine plays the track: at each keyframe and at
// the animation's length, where the engine has blended back to the first keyframe. An
// animation without keyframes holds the first root bone at its binding pose, so that it
// still exists for the reader.
void addAnimations(GltfDocument& document, const Ogre::Skeleton& skeleton);
