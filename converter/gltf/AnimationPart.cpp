#include "AnimationPart.h"

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>

#include <cmath>
#include <map>

namespace {

struct LocalTransform {
    Ogre::Vector3 position;
    Ogre::Quaternion orientation;
    Ogre::Vector3 scale;
};

// The samples of one bone's channels over the times of its track.
struct BoneSamples {
    std::vector<float> times;
    std::vector<float> translations; // x, y, z a time
    std::vector<float> rotations;    // x, y, z, w a time
    std::vector<float> scales;       // x, y, z a time
    bool scaled = false;             // whether any scale differs from 1

    void reserve(std::size_t count) {
        times.reserve(count);
        translations.reserve(3 * count);
        rotations.reserve(4 * count);
        scales.reserve(3 * count);
    }
};

LocalTransform bindingOf(const Ogre::Bone& bone) {
    Ogre::Quaternion orientation = bone.getOrientation();
    orientation.normalise();
    return {bone.getPosition(), orientation, bone.getScale()};
}

// The keyframes the engine can reach, rising strictly in time; with a length of 0 only the
// first keyframe is ever played.
std::vector<const Ogre::TransformKeyFrame*>
playedKeyFrames(const Ogre::NodeAnimationTrack& track, float length, std::size_t& unreachable) {
    std::vector<const Ogre::TransformKeyFrame*> played;
    for (unsigned short k = 0; k < track.getNumKeyFrames(); ++k) {
        const Ogre::TransformKeyFrame* key = track.getNodeKeyFrame(k);
        const float time = key->getTime();
        const bool rising = played.empty() ? time >= 0 : time > played.back()->getTime();
        if (rising && (time < length || (length <= 0 && played.empty()))) {
            played.push_back(key);
        } else {
            ++unreachable;
        }
    }
    return played;
}

// The bone's pose with a keyframe applied to its binding pose the way the engine applies it:
// translation added, rotation (normalised) and scale multiplied on.
LocalTransform applied(const Ogre::TransformKeyFrame& key, const LocalTransform& binding,
                       std::size_t& broken) {
    Ogre::Quaternion rotation = key.getRotation();
    const float norm = rotation.Norm();
    if (!(norm > 1e-12f) || !std::isfinite(norm)) {
        rotation = Ogre::Quaternion::IDENTITY;
        ++broken;
    }
    rotation.normalise();
    Ogre::Quaternion orientation = binding.orientation * rotation;
    orientation.normalise();
    return {binding.position + key.getTranslate(), orientation, binding.scale * key.getScale()};
}

void addSample(BoneSamples& samples, float time, LocalTransform pose) {
    // Consecutive rotations in one hemisphere, so that every reader takes the short way.
    if (!samples.times.empty()) {
        const float* previous = &samples.rotations[samples.rotations.size() - 4];
        const Ogre::Quaternion last(previous[3], previous[0], previous[1], previous[2]);
        if (pose.orientation.Dot(last) < 0) {
            pose.orientation = -pose.orientation;
        }
    }
    const Ogre::Quaternion& q = pose.orientation;
    samples.times.push_back(time);
    samples.translations.insert(samples.translations.end(), pose.position.ptr(),
                                pose.position.ptr() + 3);
    samples.rotations.insert(samples.rotations.end(), {q.x, q.y, q.z, q.w});
    samples.scales.insert(samples.scales.end(), pose.scale.ptr(), pose.scale.ptr() + 3);
    samples.scaled = samples.scaled || pose.scale != Ogre::Vector3::UNIT_SCALE;
}

// The bone at each keyframe played, then at the animation's length, where playback has blended
// from the last keyframe back to the first: exactly the first when it lies at 0, else the
// engine's interpolation between the two.
BoneSamples sampleBone(const Ogre::NodeAnimationTrack& track, const Ogre::Bone& bone, float length,
                       std::size_t& unreachable, std::size_t& broken) {
    const std::vector<const Ogre::TransformKeyFrame*> keys =
        playedKeyFrames(track, length, unreachable);
    const LocalTransform binding = bindingOf(bone);
    BoneSamples samples;
    samples.reserve(keys.size() + 1);
    for (const Ogre::TransformKeyFrame* key : keys) {
        addSample(samples, key->getTime(), applied(*key, binding, broken));
    }
    if (keys.empty() || length <= keys.back()->getTime()) {
        return samples;
    }
    if (keys.front()->getTime() == 0) {
        addSample(samples, length, applied(*keys.front(), binding, broken));
    } else {
        Ogre::TransformKeyFrame atLength(&track, length);
        track.getInterpolatedKeyFrame(Ogre::TimeIndex(length), &atLength);
        addSample(samples, length, applied(atLength, binding, broken));
    }
    return samples;
}

// The binding pose of a bone held over the animation's length.
BoneSamples bindingSamples(const Ogre::Bone& bone, float length) {
    BoneSamples samples;
    addSample(samples, 0, bindingOf(bone));
    if (length > 0) {
        addSample(samples, length, bindingOf(bone));
    }
    return samples;
}

class AnimationWriter {
public:
    AnimationWriter(GltfDocument& document, const std::string& name)
        : document(document), name(name) {}

    void addBone(int node, const BoneSamples& samples) {
        const int input = inputFor(samples.times);
        addChannel(node, "translation", input, samples.translations, vec3Type);
        addChannel(node, "rotation", input, samples.rotations, vec4Type);
        if (samples.scaled) {
            addChannel(node, "scale", input, samples.scales, vec3Type);
        }
    }

    bool empty() const { return channels.empty(); }

    void finish() {
        document.animations.add("{\"name\":" + jsonText(name) + ",\"channels\":" + channels.text() +
                                ",\"samplers\":" + samplers.text() + "}");
    }

private:
    // Tracks of one animation mostly share their times; they share one input then.
    int inputFor(const std::vector<float>& times) {
        const auto known = inputs.find(times);
        if (known != inputs.end()) {
            return known->second;
        }
        return inputs[times] =
                   document.buffer.addAccessor(times, scalarType, ViewTarget::none, true);
    }

    void addChannel(int node, const char* path, int input, const std::vector<float>& values,
                    AccessorType type) {
        const int output = document.buffer.addAccessor(values, type, ViewTarget::none);
        const int sampler = samplers.add(
            "{\"input\":" + std::to_string(input) +
            ",\"interpolation\":\"LINEAR\",\"output\":" + std::to_string(output) + "}");
        channels.add("{\"sampler\":" + std::to_string(sampler) + ",\"target\":{\"node\":" +
                     std::to_string(node) + ",\"path\":\"" + path + "\"}}");
    }

    GltfDocument& document;
    std::string name;
    std::map<std::vector<float>, int> inputs;
    JsonList channels;
    JsonList samplers;
};

const Ogre::Bone& firstRootBone(const Ogre::Skeleton& skeleton) {
    for (unsigned short handle = 0; handle < skeleton.getNumBones(); ++handle) {
        if (skeleton.getBone(handle)->getParent() == nullptr) {
            return *skeleton.getBone(handle);
        }
    }
    return *skeleton.getBone(0);
}

void addAnimation(GltfDocument& document, const Ogre::Skeleton& skeleton,
                  const Ogre::Animation& animation) {
    const float length = animation.getLength();
    AnimationWriter writer(document, animation.getName());
    std::size_t unreachable = 0;
    std::size_t broken = 0;
    for (const auto& [handle, track] : animation._getNodeTrackList()) {
        if (handle >= skeleton.getNumBones()) {
            continue;
        }
        const BoneSamples samples =
            sampleBone(*track, *skeleton.getBone(handle), length, unreachable, broken);
        if (!samples.times.empty()) {
            writer.addBone(handle, samples);
        }
    }
    if (writer.empty()) {
        const Ogre::Bone& root = firstRootBone(skeleton);
        writer.addBone(root.getHandle(), bindingSamples(root, length));
    }
    writer.finish();

    const std::string prefix = "Animation \"" + animation.getName() + "\": ";
    if (unreachable > 0) {
        document.warnings.push_back(prefix + std::to_string(unreachable) +
                                    " keyframes lie at or past its length or out of time order "
                                    "and are never played; they are left out.");
    }
    if (broken > 0) {
        document.warnings.push_back(prefix + std::to_string(broken) +
                                    " keyframes hold a rotation of no length; the binding "
                                    "orientation is written there.");
    }
    if (animation.getInterpolationMode() == Ogre::Animation::IM_SPLINE) {
        document.warnings.push_back(prefix + "the engine plays it with spline interpolation; "
                                             "it is written with linear interpolation.");
    }
}

} // namespace

void addAnimations(GltfDocument& document, const Ogre::Skeleton& skeleton) {
    document.buffer.openSharedView();
    for (unsigned short i = 0; i < skeleton.getNumAnimations(); ++i) {
        addAnimation(document, skeleton, *skeleton.getAnimation(i));
    }
    document.buffer.closeSharedView();
}
