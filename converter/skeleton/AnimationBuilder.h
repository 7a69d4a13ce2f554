#pragma once

#include "SkaRecords.h"

#include <OgreSkeleton.h>

#include <ostream>

// Builds a decoded animation, the index-th of its file, into the skeleton: one node track per
// bone that stream 0 has keys for, one keyframe per frame, rotations and translations relative
// to the binding pose. The animation's keyframes are taken from keyframeBudget, what the file
// may still create. An animation the engine cannot take (no name, a name twice, a frame time
// that is not a positive number, more keyframes than the budget leaves) is renamed or skipped,
// and keys outside the skeleton or the animation are skipped, each with a warning on out.
void buildAnimation(const AnimationData& animation, std::size_t index, Ogre::Skeleton& skeleton,
                    std::size_t& keyframeBudget, std::ostream& out);
