#include "FigureAnimations.h"

#include "FigureSkeleton.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace samplemodel {
namespace {

constexpr float thirtyPerSecond = 100.0f / 30.0f;

Clip makeClip(const std::string& name, int frameCount, const std::function<FramePose(int)>& pose) {
    Clip clip{name, thirtyPerSecond, {}};
    for (int frame = 0; frame < frameCount; ++frame) {
        clip.frames.push_back(pose(frame));
    }
    return clip;
}

// The phase of a cycle that loops over the clip's frames, in radians.
double cycle(int frame, int frameCount) {
    return 2 * M_PI * frame / frameCount;
}

double smoothStep(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Breathing lifts the chest, the weight shifts slowly from foot to foot and the head looks
// around a little.
FramePose idlePose(int frame) {
    const double s = std::sin(cycle(frame, 60));
    return {
        {pelvis, aboutZ(-1 * s), Vec3{1.2 * s, 0, 0}, std::nullopt},
        {spine, aboutZ(1.5 * s), std::nullopt, std::nullopt},
        {chest, aboutX(-1.5 * s), std::nullopt, Vec3{1 + 0.02 * s, 1, 1 + 0.03 * s}},
        {neck, aboutX(1 * s), std::nullopt, std::nullopt},
        {head, aboutY(5 * s), std::nullopt, std::nullopt},
        {upperArmLeft, aboutZ(2 * s), std::nullopt, std::nullopt},
        {upperArmRight, aboutZ(-2 * s), std::nullopt, std::nullopt},
        {forearmLeft, aboutX(1.5 * (1 + s)), std::nullopt, std::nullopt},
        {forearmRight, aboutX(1.5 * (1 - s)), std::nullopt, std::nullopt},
    };
}

// Every limb bone, on either side, swings forwards when it turns by a positive angle about its
// own X axis.

// One leg's swing, `phase` into the stride: the knee bends while the leg swings forwards,
// and the ankle keeps the foot level.
void addLegSwing(FramePose& pose, uint16_t thigh, double phase) {
    const double hip = 20 * std::sin(phase);
    const double knee = -(5 + 40 * std::max(0.0, std::cos(phase)));
    pose.push_back({thigh, aboutX(hip), std::nullopt, std::nullopt});
    pose.push_back({uint16_t(thigh + 1), aboutX(knee), std::nullopt, std::nullopt});
    pose.push_back({uint16_t(thigh + 2), aboutX(-(hip + knee)), std::nullopt, std::nullopt});
}

// Each arm swings against the leg of its side, the elbow bending as the arm comes forwards.
void addArmSwing(FramePose& pose, uint16_t upperArm, double phase) {
    const double swing = -20 * std::sin(phase);
    pose.push_back({upperArm, aboutX(swing), std::nullopt, std::nullopt});
    pose.push_back({uint16_t(upperArm + 1), aboutX(8 + 0.6 * std::max(0.0, swing)), std::nullopt,
                    std::nullopt});
}

// A walk on the spot: the hips drop as the legs spread and twist against the shoulders.
FramePose walkPose(int frame) {
    const double phase = cycle(frame, 30);
    const double s = std::sin(phase);
    FramePose pose = {
        {pelvis, aboutY(5 * s), Vec3{1.5 * s, -2 * (1 - std::cos(2 * phase)), 0}, std::nullopt},
        {spine, aboutY(-3 * s), std::nullopt, std::nullopt},
        {chest, aboutY(-4 * s), std::nullopt, std::nullopt},
        {neck, aboutY(2 * s), std::nullopt, std::nullopt},
    };
    addLegSwing(pose, thighLeft, phase);
    addLegSwing(pose, thighRight, phase + M_PI);
    addArmSwing(pose, upperArmLeft, phase);
    addArmSwing(pose, upperArmRight, phase + M_PI);
    return pose;
}

// The right arm rises over the first 12 frames, waves twice and comes down over the last 12.
FramePose wavePose(int frame) {
    const double raised = smoothStep(frame / 12.0) * smoothStep((59 - frame) / 12.0);
    const double wave = std::sin(2 * M_PI * (frame - 12) / 18.0);
    const double wrist = std::sin(2 * M_PI * (frame - 12) / 18.0 - 0.8);
    return {
        {shoulderRight, aboutZ(-10 * raised), std::nullopt, std::nullopt},
        {upperArmRight, aboutZ(-130 * raised) * aboutX(10 * raised), std::nullopt, std::nullopt},
        {forearmRight, aboutZ(raised * (-15 + 25 * wave)), std::nullopt, std::nullopt},
        {handRight, aboutZ(raised * 12 * wrist), std::nullopt, std::nullopt},
        {head, aboutY(-10 * raised), std::nullopt, std::nullopt},
    };
}

} // namespace

std::vector<Clip> figureClips() {
    return {makeClip("idle", 60, idlePose), makeClip("walk", 30, walkPose),
            makeClip("wave", 60, wavePose)};
}

} // namespace samplemodel
