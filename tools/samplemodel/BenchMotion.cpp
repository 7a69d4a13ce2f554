#include "BenchMotion.h"

#include "KeyStream.h"

#include <cmath>

namespace samplemodel {
namespace {

constexpr float thirtyPerSecond = 100.0f / 30.0f;

FramePose swayPose(int animation, int frame, int frames, std::size_t bones) {
    FramePose pose;
    for (std::size_t bone = 0; bone < bones; ++bone) {
        const double phase = 2 * M_PI * frame / frames + 0.37 * animation + 0.21 * bone;
        const double s = std::sin(phase);
        pose.push_back({static_cast<uint16_t>(bone), aboutX(4 * s) * aboutZ(2 * std::cos(phase)),
                        Vec3{0, 0.05 * s, 0}, Vec3{1 + 0.01 * s, 1, 1 + 0.01 * s}});
    }
    return pose;
}

} // namespace

std::vector<SkaAnimationDesc> swayAnimations(const MotionSize& size,
                                             const std::vector<Transform>& bind) {
    std::vector<SkaAnimationDesc> animations;
    for (int a = 0; a < size.animations; ++a) {
        Clip clip{"motion" + std::to_string(a), thirtyPerSecond, {}};
        for (int frame = 0; frame < size.frames; ++frame) {
            clip.frames.push_back(swayPose(a, frame, size.frames, bind.size()));
        }
        animations.push_back(encodeClip(clip, bind));
    }
    return animations;
}

} // namespace samplemodel
