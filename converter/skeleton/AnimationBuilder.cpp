#include "AnimationBuilder.h"

#include "../Finite.h"
#include "../Quoted.h"

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>

#include <cmath>
#include <vector>

namespace {

// A name the skeleton does not have yet: nameless animations are numbered by their place in
// the file, and a repeated name gets the first free suffix. Animations are never removed, so
// the search for a name goes on where the last one for it stopped: thousands of animations of
// one name would otherwise cost a search through all the earlier ones each.
std::string uniqueName(const AnimationData& animation, std::size_t index,
                       const Ogre::Skeleton& skeleton,
                       std::unordered_map<std::string, int>& nextSuffix, Diagnostics& out) {
    const std::string base =
        animation.name.empty() ? "Animation" + std::to_string(index) : animation.name;
    std::string name = base;
    if (skeleton.hasAnimation(name)) {
        int& suffix = nextSuffix.try_emplace(base, 2).first->second;
        do {
            name = base + "_" + std::to_string(suffix++);
        } while (skeleton.hasAnimation(name));
    }
    if (name != animation.name) {
        out.warning(
            textOf("Warning: animation ", index, " ",
                   animation.name.empty() ? "has no name" : "repeats the name " + quoted(base),
                   "; kept as ", quoted(name), "."),
            Placement::step);
    }
    return name;
}

std::size_t trackCount(const StreamData& stream, unsigned short boneCount) {
    std::vector<bool> keyed(boneCount);
    std::size_t count = 0;
    for (const BoneKey& key : stream.keys) {
        if (key.bone < boneCount && !keyed[key.bone]) {
            keyed[key.bone] = true;
            ++count;
        }
    }
    return count;
}

// Frame j lies at j × seconds per frame, the product rounded to single precision (and kept to
// the largest float for absurd frame times).
float frameStart(std::size_t frame, float secondsPerFrame) {
    return clampedToFloat(static_cast<double>(frame) * secondsPerFrame);
}

Ogre::NodeAnimationTrack* createTrack(Ogre::Animation& animation, Ogre::Bone* bone,
                                      uint16_t frameCount, float secondsPerFrame) {
    Ogre::NodeAnimationTrack* track = animation.createNodeTrack(bone->getHandle(), bone);
    for (uint16_t j = 0; j < frameCount; ++j) {
        track->createNodeKeyFrame(frameStart(j, secondsPerFrame));
    }
    return track;
}

// The key's position relative to the binding position. Two finite positions far apart on
// either side can differ by more than a float holds; such a difference is kept to the largest
// float.
Ogre::Vector3 relativeTranslation(const std::array<float, 3>& key, const Ogre::Vector3& binding) {
    Ogre::Vector3 relative = Ogre::Vector3(key.data()) - binding;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!std::isfinite(relative[i])) {
            relative[i] = clampedToFloat(static_cast<double>(key[i]) - binding[i]);
        }
    }
    return relative;
}

// The key's rotation relative to the binding orientation b; a b without vector part, or of
// next to no length, is not inverted.
Ogre::Quaternion relativeRotation(const Ogre::Quaternion& b, const std::array<float, 4>& wxyz) {
    const Ogre::Quaternion key(wxyz[0], wxyz[1], wxyz[2], wxyz[3]);
    if ((b.x == 0 && b.y == 0 && b.z == 0) || b.Norm() < 0.000001f) {
        return key;
    }
    return b.Inverse() * key;
}

class AnimationKeys {
public:
    AnimationKeys(Ogre::Animation& animation, Ogre::Skeleton& skeleton, uint16_t frameCount,
                  float secondsPerFrame)
        : animation(animation), skeleton(skeleton), frameCount(frameCount),
          secondsPerFrame(secondsPerFrame), tracks(skeleton.getNumBones()) {}

    // Returns how many of the key's parts had to be skipped.
    std::size_t apply(const BoneKey& key) {
        if (key.bone >= skeleton.getNumBones()) {
            return 1;
        }
        Ogre::NodeAnimationTrack* track = trackOf(key.bone);
        Ogre::Bone* bone = skeleton.getBone(key.bone);
        std::size_t skipped = 0;
        if (key.channels & rotationChannel) {
            // A rotation of zero length has no direction; played, it would turn into NaN.
            const auto& r = key.rotation;
            const float norm = r[0] * r[0] + r[1] * r[1] + r[2] * r[2] + r[3] * r[3];
            if (key.rotationFrame < frameCount && norm > 0) {
                track->getNodeKeyFrame(key.rotationFrame)
                    ->setRotation(relativeRotation(bone->getOrientation(), key.rotation));
            } else {
                ++skipped;
            }
        }
        if (key.channels & translationChannel) {
            if (key.translationFrame < frameCount && allFinite(key.translation)) {
                track->getNodeKeyFrame(key.translationFrame)
                    ->setTranslate(relativeTranslation(key.translation, bone->getPosition()));
            } else {
                ++skipped;
            }
        }
        return skipped;
    }

private:
    // The animation is new, so the tracks it has are the ones created here; keeping them by
    // handle spares the engine's lookup by handle on every key.
    Ogre::NodeAnimationTrack* trackOf(uint16_t handle) {
        Ogre::NodeAnimationTrack*& track = tracks[handle];
        if (track == nullptr) {
            track = createTrack(animation, skeleton.getBone(handle), frameCount, secondsPerFrame);
        }
        return track;
    }

    Ogre::Animation& animation;
    Ogre::Skeleton& skeleton;
    uint16_t frameCount;
    float secondsPerFrame;
    std::vector<Ogre::NodeAnimationTrack*> tracks; // by bone handle
};

void fillAnimation(const AnimationData& data, const std::string& name, float secondsPerFrame,
                   Ogre::Skeleton& skeleton, Diagnostics& out) {
    Ogre::Animation* animation =
        skeleton.createAnimation(name, frameStart(data.frameCount, secondsPerFrame));
    animation->setInterpolationMode(Ogre::Animation::IM_LINEAR);
    if (data.streams.empty()) {
        return;
    }
    // Only stream 0 is built; the other streams' use is unknown.
    const StreamData& stream = data.streams[0];
    AnimationKeys keys(*animation, skeleton, stream.frameCount, secondsPerFrame);
    std::size_t skipped = 0;
    for (const BoneKey& key : stream.keys) {
        skipped += keys.apply(key);
    }
    if (skipped > 0) {
        out.warning(textOf("Warning: animation ", quoted(name), ": ", skipped,
                           " keys name a bone or frame that it does not have, or hold no "
                           "rotation; skipped."),
                    Placement::step);
    }
}

} // namespace

void buildAnimation(const AnimationData& data, std::size_t index, Ogre::Skeleton& skeleton,
                    AnimationBuildState& state, Diagnostics& out) {
    const std::string name = uniqueName(data, index, skeleton, state.nextSuffix, out);
    // Frame times are in hundredths of a second: 30 means 0.3 seconds a frame.
    const auto secondsPerFrame = static_cast<float>(data.frameTime / 100.0);
    if (!std::isfinite(secondsPerFrame) || secondsPerFrame <= 0) {
        out.warning(textOf("Warning: animation ", quoted(name), " has the frame time ",
                           data.frameTime, ", which is not a positive number; skipped."),
                    Placement::step);
        return;
    }
    const std::size_t needed =
        data.streams.empty()
            ? 0
            : trackCount(data.streams[0], skeleton.getNumBones()) * data.streams[0].frameCount;
    const std::size_t left = state.keyframeLimit - state.keyframesTaken;
    if (needed > left) {
        out.warning(textOf("Warning: animation ", quoted(name), " would need ", needed,
                           " keyframes, more than the ", left, " left of the ", state.keyframeLimit,
                           " a skeleton may hold; skipped."),
                    Placement::step);
        return;
    }
    state.keyframesTaken += needed;
    fillAnimation(data, name, secondsPerFrame, skeleton, out);
}
