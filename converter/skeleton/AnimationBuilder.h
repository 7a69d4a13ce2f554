#pragma once

#include "../Diagnostics.h"
#include "SkaRecords.h"

#include <OgreSkeleton.h>

#include <string>
#include <unordered_map>

// What building one skeleton's animations carries from one animation to the next.
struct AnimationBuildState {
    std::size_t keyframeLimit; // keyframes the skeleton may hold in all
    std::size_t keyframesTaken = 0;
    std::unordered_map<std::string, int> nextSuffix; // of each name that repeated so far
};

// Builds a decoded animation, the index-th of its file, into the skeleton: one node track per
// bone that stream 0 has keys for, one keyframe per frame, rotations and translations relative
// to the binding pose. An animation the engine cannot take (no name, a name twice, a frame
// time that is not a positive number, more keyframes than the limit leaves) is renamed or
// skipped, and keys outside the skeleton or the animation are skipped, each with a warning on
// out.
void buildAnimation(const AnimationData& animation, std::size_t index, Ogre::Skeleton& skeleton,
                    AnimationBuildState& state, Diagnostics& out);
