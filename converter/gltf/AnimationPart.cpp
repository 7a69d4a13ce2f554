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

// The samples of one bone's channels over the times of its track. One is filled track after
// track, so that its storage is allocated once for all of them.
struct BoneSamples {
    std::vector<float> times;
    std::vector<float> translations; // x, y, z a time
    std::vector<float> rotations;    // x, y, z, w a time
    std::vector<float> scales;       // x, y, z a time
    bool scaled = false;             // whether any scale differs from 1

    void clear() {
        times.clear();
        translations.clear();
        rotations.clear();
        scales.clear();
        scaled = false;
    }

    void add(float time, LocalTransform pose) {
        // Consecutive rotations in one hemisphere, so that every reader takes the short way.
        if (!times.empty()) {
            const float* previous = &rotations[rotations.size() - 4];
            const Ogre::Quaternion last(previous[3], previous[0], previous[1], previous[2]);
            if (pose.orientation.Dot(last) < 0) {
                pose.orientation = -pose.orientation;
            }
        }
        const Ogre::Quaternion& q = pose.orientation;
        times.push_back(time);
        append(translations, pose.position);
        rotations.push_back(q.x);
        rotations.push_back(q.y);
        rotations.push_back(q.z);
        rotations.push_back(q.w);
        append(scales, pose.scale);
        scaled = scaled || pose.scale != Ogre::Vector3::UNIT_SCALE;
    }

private:
    static void append(std::vector<float>& values, const Ogre::Vector3& vector) {
        values.push_back(vector.x);
        values.push_back(vector.y);
        values.push_back(vector.z);
    }
};

LocalTransform bindingOf(const Ogre::Bone& bone) {
    Ogre::Quaternion orientation = bone.getOrientation();
    orientation.normalise();
    return {bone.getPosition(), orientation, bone.getScale()};
}

// The bone's pose with a keyframe applied to its binding pose the way the engine applies it:
// translation added, rotation (normalised) and scale multiplied on. The product is normalised
// once: a positive factor on the key's rotation does not change the direction of the product.
// It runs for every keyframe of a library, so it is spelt out and inlined; through the
// engine's out-of-line product and a pose returned through memory, the loop mostly waited.
[[gnu::always_inline]] inline LocalTransform
applied(const Ogre::TransformKeyFrame& key, const LocalTransform& binding, std::size_t& broken) {
    Ogre::Quaternion rotation = key.getRotation();
    const float squaredNorm = rotation.Dot(rotation);
    if (!(squaredNorm > 1e-24f) || !std::isfinite(squaredNorm)) {
        rotation = Ogre::Quaternion::IDENTITY;
        ++broken;
    }
    const Ogre::Quaternion& a = binding.orientation;
    const Ogre::Quaternion& b = rotation;
    Ogre::Quaternion orientation(a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
                                 a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                                 a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z,
                                 a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x);
    orientation.normalise();
    return {binding.position + key.getTranslate(), orientation, binding.scale * key.getScale()};
}

// Samples the tracks of a skeleton's animations, counting the keyframes it has to leave out or
// mend.
class TrackSampler {
public:
    // The bone at each keyframe the engine can reach, rising strictly in time (with a length
    // of 0 only the first is ever played), then at the animation's length, where playback has
    // blended from the last keyframe back to the first: exactly the first when it lies at 0,
    // else the engine's interpolation between the two. Valid until the next call.
    const BoneSamples& sample(const Ogre::NodeAnimationTrack& track, const Ogre::Bone& bone,
                              float length) {
        const LocalTransform binding = bindingOf(bone);
        gatherKeys(track);
        samples.clear();
        samples.times.reserve(keys.size() + 1);
        samples.translations.reserve(3 * (keys.size() + 1));
        samples.rotations.reserve(4 * (keys.size() + 1));
        samples.scales.reserve(3 * (keys.size() + 1));
        const Ogre::TransformKeyFrame* first = nullptr;
        for (const Ogre::TransformKeyFrame* key : keys) {
            const float time = key->getTime();
            const bool rising = first == nullptr ? time >= 0 : time > samples.times.back();
            if (rising && (time < length || (length <= 0 && first == nullptr))) {
                first = first == nullptr ? key : first;
                samples.add(time, applied(*key, binding, broken));
            } else {
                ++unreachable;
            }
        }
        if (first == nullptr || length <= samples.times.back()) {
            return samples;
        }
        if (first->getTime() == 0) {
            samples.add(length, applied(*first, binding, broken));
        } else {
            Ogre::TransformKeyFrame atLength(&track, length);
            track.getInterpolatedKeyFrame(Ogre::TimeIndex(length), &atLength);
            samples.add(length, applied(atLength, binding, broken));
        }
        return samples;
    }

    std::size_t unreachable = 0; // keyframes at or past the length or out of time order
    std::size_t broken = 0;      // rotations of no length

private:
    // Each keyframe is an object of its own; asking for them all before they are read lets
    // their loads from memory overlap.
    void gatherKeys(const Ogre::NodeAnimationTrack& track) {
        keys.clear();
        const unsigned short keyCount = track.getNumKeyFrames();
        for (unsigned short k = 0; k < keyCount; ++k) {
            keys.push_back(track.getNodeKeyFrame(k));
            const char* bytes = reinterpret_cast<const char*>(keys.back());
            __builtin_prefetch(bytes);
            __builtin_prefetch(bytes + sizeof(Ogre::TransformKeyFrame) - 1);
        }
    }

    std::vector<const Ogre::TransformKeyFrame*> keys;
    BoneSamples samples;
};

// The binding pose of a bone held over the animation's length.
BoneSamples bindingSamples(const Ogre::Bone& bone, float length) {
    BoneSamples samples;
    samples.add(0, bindingOf(bone));
    if (length > 0) {
        samples.add(length, bindingOf(bone));
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
        document.animations.add("{\"name\":", jsonText(name), ",\"channels\":", channels,
                                ",\"samplers\":", samplers, "}");
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
        const int sampler = samplers.add("{\"input\":", input,
                                         ",\"interpolation\":\"LINEAR\",\"output\":", output, "}");
        channels.add("{\"sampler\":", sampler, ",\"target\":{\"node\":", node, ",\"path\":\"", path,
                     "\"}}");
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
    TrackSampler sampler;
    for (const auto& [handle, track] : animation._getNodeTrackList()) {
        if (handle >= skeleton.getNumBones()) {
            continue;
        }
        const BoneSamples& samples = sampler.sample(*track, *skeleton.getBone(handle), length);
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
    if (sampler.unreachable > 0) {
        document.warnings.push_back(prefix + std::to_string(sampler.unreachable) +
                                    " keyframes lie at or past its length or out of time order "
                                    "and are never played; they are left out.");
    }
    if (sampler.broken > 0) {
        document.warnings.push_back(prefix + std::to_string(sampler.broken) +
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
