#pragma once
// Turns poses given as motions relative to the binding pose into the packed key stream of
// an SKA animation.

#include "ToeeFiles.h"
#include "Transform.h"

#include <optional>
#include <string>
#include <vector>

namespace samplemodel {

struct BoneMotion {
    uint16_t bone = 0;
    Quat rotation;              // in the bone's own frame, after its binding rotation
    std::optional<Vec3> offset; // added to the binding position, in the parent's frame
    std::optional<Vec3> scale;
};

using FramePose = std::vector<BoneMotion>;

struct Clip {
    std::string name;
    float frameTime = 0; // hundredths of a second per frame
    std::vector<FramePose> frames;
};

// One stream whose keys hold, on every frame, each moved bone's absolute local rotation
// (binding rotation composed with the motion) and absolute local position. The factors are
// chosen so that the largest value fills the 16-bit range.
SkaAnimationDesc encodeClip(const Clip& clip, const std::vector<Transform>& bind);

} // namespace samplemodel
