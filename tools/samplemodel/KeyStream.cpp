#include "KeyStream.h"

#include <algorithm>
#include <cmath>

namespace samplemodel {
namespace {

constexpr double int16Range = 32767;

struct AbsoluteKey {
    uint16_t bone = 0;
    Quat rotation;
    Vec3 position;
    Vec3 scale{1, 1, 1};
    bool moves = false;
    bool scales = false;
};

using KeyFrame = std::vector<AbsoluteKey>;

std::vector<KeyFrame> absoluteKeys(const Clip& clip, const std::vector<Transform>& bind) {
    std::vector<KeyFrame> frames;
    for (const FramePose& pose : clip.frames) {
        KeyFrame keys;
        for (const BoneMotion& motion : pose) {
            const Transform& rest = bind.at(motion.bone);
            keys.push_back({motion.bone, rest.rotation * motion.rotation,
                            rest.position + motion.offset.value_or(Vec3{}),
                            motion.scale.value_or(Vec3{1, 1, 1}), motion.offset.has_value(),
                            motion.scale.has_value()});
        }
        frames.push_back(keys);
    }
    return frames;
}

double largestMagnitude(double largest, Vec3 v) {
    return std::max({largest, std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

// The bone states repeat the first frame with every channel, so every key counts.
float factorFor(const std::vector<KeyFrame>& frames, Vec3 AbsoluteKey::*channel) {
    double largest = 0;
    for (const KeyFrame& keys : frames) {
        for (const AbsoluteKey& key : keys) {
            largest = largestMagnitude(largest, key.*channel);
        }
    }
    return largest > 0 ? float(largest / int16Range) : 1.0f;
}

int16_t quantize(double value, double step) {
    return static_cast<int16_t>(std::clamp(std::lround(value / step), -32767L, 32767L));
}

std::array<int16_t, 3> quantize(Vec3 v, double step) {
    return {quantize(v.x, step), quantize(v.y, step), quantize(v.z, step)};
}

std::array<int16_t, 4> quantize(Quat q) {
    const double step = 1 / int16Range;
    return {quantize(q.x, step), quantize(q.y, step), quantize(q.z, step), quantize(q.w, step)};
}

SkaBoneStateDesc boneState(const AbsoluteKey& key, const SkaStreamDesc& stream) {
    const auto scale = quantize(key.scale, stream.scaleFactor);
    const auto rotation = quantize(key.rotation);
    const auto position = quantize(key.position, stream.translationFactor);
    return {key.bone,
            {scale[0], scale[1], scale[2], rotation[0], rotation[1], rotation[2], rotation[3],
             position[0], position[1], position[2]}};
}

SkaBoneKeyDesc boneKey(const AbsoluteKey& key, int16_t frame, const SkaStreamDesc& stream) {
    SkaBoneKeyDesc desc;
    desc.bone = key.bone;
    desc.hasRotation = true;
    desc.rotationFrame = frame;
    desc.rotationXyzw = quantize(key.rotation);
    desc.hasScale = key.scales;
    desc.scaleFrame = frame;
    desc.scale = quantize(key.scale, stream.scaleFactor);
    desc.hasTranslation = key.moves;
    desc.translationFrame = frame;
    desc.translation = quantize(key.position, stream.translationFactor);
    return desc;
}

} // namespace

SkaAnimationDesc encodeClip(const Clip& clip, const std::vector<Transform>& bind) {
    const std::vector<KeyFrame> frames = absoluteKeys(clip, bind);
    SkaStreamDesc stream;
    stream.frameCount = static_cast<uint16_t>(frames.size());
    stream.frameTime = clip.frameTime;
    stream.scaleFactor = factorFor(frames, &AbsoluteKey::scale);
    stream.translationFactor = factorFor(frames, &AbsoluteKey::position);
    for (const AbsoluteKey& key : frames.empty() ? KeyFrame{} : frames.front()) {
        stream.boneStates.push_back(boneState(key, stream));
    }
    for (size_t f = 0; f < frames.size(); ++f) {
        SkaFrameDesc frame{static_cast<uint16_t>(f), {}};
        for (const AbsoluteKey& key : frames[f]) {
            frame.keys.push_back(boneKey(key, static_cast<int16_t>(f), stream));
        }
        stream.frames.push_back(frame);
    }
    return {clip.name, 0, {stream}};
}

} // namespace samplemodel
