#pragma once

namespace Ogre {
class AnimationState;
}

// The animation that moves with time and how fast: the frame listener advances it every frame,
// and what is on show decides which one it is.
struct AnimationClock {
    Ogre::AnimationState* activeAnimation = nullptr; // not owned; null when nothing plays
    float animationSpeed = 1.0f;                     // animation seconds per frame second
};
