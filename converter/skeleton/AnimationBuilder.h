#pragma once

#include "SkaRecords.h"

#include <OgreSkeleton.h>

#include <ostream>
#include <vector>

// Builds each decoded animation into the skeleton: one node track per bone that stream 0 has
// keys for, one keyframe per frame, rotations and translations relative to the binding pose.
// Animations the engine cannot take (no name, a name twice, a frame time that is not a
// positive number, more keyframes than keyframeBudget leaves) are renamed or skipped, and
// keys outside the skeleton or the animation are skipped, each with a warning on out.
void buildAnimations(const std::vector<AnimationData>& animations, Ogre::Skeleton& skeleton,
                     std::size_t keyframeBudget, std::ostream& out);
