#pragma once
// The bench model's animations: every bone sways, bobs and breathes on every frame, so each
// frame of stream 0 holds a scale, a rotation and a translation record for every bone.

#include "ToeeFiles.h"
#include "Transform.h"

#include <vector>

namespace samplemodel {

struct MotionSize {
    int animations = 0;
    int frames = 0;
};

// Named "motion0", "motion1", …; each animation and bone has a phase of its own.
std::vector<SkaAnimationDesc> swayAnimations(const MotionSize& size,
                                             const std::vector<Transform>& bind);

} // namespace samplemodel
