#include "AnimationPart.h"

#include "SkinPart.h"

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
};

// The keyframe times the engine can reach, rising strictly, then the animation's length,
// where playback has blended back to the first keyframe.
std::vector<float> sampleTimes(const Ogre::NodeAnimationTrack& track, float length,
                               std::size_t& unreachable) {
    std::vector<float> times;
    for (unsigned short k = 0; k < track.getNumKeyFrames(); ++k) {
        const float time = track.getKeyFrame(k)->getTime();
        const bool rising = times.empty() ? time >= 0 : time > times.back();
        if (rising && (time < length || (length <= 0 && times.empty()))) {
            times.push_back(time);
        } else {
            ++unreachable;
        }
    }
    if (!times.empty() && length > times.back()) {
        times.push_back(length);
    }
    return times;
}

// The bone's pose at a time: its binding pose with the track's interpolated keyframe applied
// the way the engine applies it (translation added, rotation and scale multiplied on).
LocalTransform poseAt(const Ogre::NodeAnimationTrack& track, const Ogre::Bone& bone, float time,
                      std::size_t& broken) {
    Ogre::TransformKeyFrame key(&track, time);
    track.getInterpolatedKeyFrame(Ogre::TimeIndex(time), &key);
    Ogre::Quaternion rotation = key.getRotation();
    if (!(rotation.Norm() > 1e-12f) || rotation.isNaN()) {
        rotation = Ogre::Quaternion::IDENTITY;
        ++broken;
    }
    rotation.normalise();
    Ogre::Quaternion binding = bone.getOrientation();
    binding.normalise();
    Ogre::Quaternion orientation = binding * rotation;
    orientation.normalise();
    return {bone.getPosition() + key.getTranslate(), orientation, bone.getScale() * key.getScale()};
}

BoneSamples sampleBone(const Ogre::NodeAnimationTrack& track, const Ogre::Bone& bone, float length,
                       std::size_t& unreachable, std::size_t& broken) {
    BoneSamples samples;
    samples.times = sampleTimes(track, length, unreachable);
    Ogre::Quaternion previous = Ogre::Quaternion::IDENTITY;
    for (const float time : samples.times) {
        // Played to its length, the track has blended back to its first keyframe; when that
        // lies at 0, the pose there is written as an exact copy of it.
        const bool backAtStart = time == length && samples.times.front() == 0;
        LocalTransform pose = poseAt(track, bone, backAtStart ? 0 : time, broken);
        // Consecutive rotations in one hemisphere, so that every reader takes the short way.
        if (pose.orientation.Dot(previous) < 0) {
            pose.orientation = -pose.orientation;
        }
        previous = pose.orientation;
        const Ogre::Quaternion& q = pose.orientation;
        samples.translations.insert(samples.translations.end(), pose.position.ptr(),
                                    pose.position.ptr() + 3);
        samples.rotations.insert(samples.rotations.end(), {q.x, q.y, q.z, q.w});
        samples.scales.insert(samples.scales.end(), pose.scale.ptr(), pose.scale.ptr() + 3);
        samples.scaled = samples.scaled || pose.scale != Ogre::Vector3::UNIT_SCALE;
    }
    return samples;
}

// The binding pose of a bone held over the animation's length.
BoneSamples bindingSamples(const Ogre::Bone& bone, float length) {
    const nlohmann::json binding = bindingTransform(bone);
    BoneSamples samples;
    samples.times = length > 0 ? std::vector<float>{0, length} : std::vector<float>{0};
    for (std::size_t i = 0; i < samples.times.size(); ++i) {
        for (const float value : binding["translation"]) {
            samples.translations.push_back(value);
        }
        for (const float value : binding["rotation"]) {
            samples.rotations.push_back(value);
        }
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
        document.add("animations",
                     {{"name", name}, {"channels", channels}, {"samplers", samplers}});
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
        samplers.push_back({{"input", input}, {"output", output}, {"interpolation", "LINEAR"}});
        channels.push_back(
            {{"sampler", samplers.size() - 1}, {"target", {{"node", node}, {"path", path}}}});
    }

    GltfDocument& document;
    std::string name;
    std::map<std::vector<float>, int> inputs;
    nlohmann::json channels = nlohmann::json::array();
    nlohmann::json samplers = nlohmann::json::array();
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
    for (unsigned short i = 0; i < skeleton.getNumAnimations(); ++i) {
        addAnimation(document, skeleton, *skeleton.getAnimation(i));
    }
}
