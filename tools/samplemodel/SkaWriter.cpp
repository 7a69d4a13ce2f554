// The SKA writer: a 24-byte header, the bone table, the table of animation headers, then for
// each animation its events and the key data of its streams.

#include "ByteWriter.h"
#include "ToeeFiles.h"
#include "skeleton/SkaRecords.h"

#include <stdexcept>

namespace samplemodel {
namespace {

constexpr auto headerSize = static_cast<int32_t>(skaHeaderSize);
constexpr auto boneSize = static_cast<int32_t>(skaBoneSize);
constexpr auto animationSize = static_cast<int32_t>(skaAnimationSize);
constexpr size_t streamSlots = skaStreamSlots;
constexpr uint16_t endWord = skaKeyData::endWord;

// Where the events and the streams of one animation landed, counted from the file start.
struct AnimationLayout {
    int32_t eventPosition = 0;
    std::vector<int32_t> streamPositions;
};

void appendBone(std::string& bytes, const SkaBoneDesc& bone) {
    appendZeros(bytes, 4);
    appendText(bytes, bone.name, skaBoneField::nameSize);
    appendFloats(bytes, bone.bindScale);
    appendZeros(bytes, 4);
    appendFloats(bytes, bone.bindRotationXyzw);
    appendFloats(bytes, bone.bindPosition);
    appendZeros(bytes, 4);
}

template <size_t N> void appendInt16s(std::string& bytes, const std::array<int16_t, N>& values) {
    for (int16_t value : values) {
        appendInt16(bytes, value);
    }
}

uint16_t boneWord(const SkaBoneKeyDesc& key) {
    using namespace skaBoneWord;
    return static_cast<uint16_t>(
        key.bone << boneShift | boneWordBit | (key.hasScale ? scaleBit : 0) |
        (key.hasRotation ? rotationBit : 0) | (key.hasTranslation ? translationBit : 0));
}

// Records follow their bone word in the fixed order scale, rotation, translation.
void appendBoneKey(std::string& bytes, const SkaBoneKeyDesc& key) {
    appendUint16(bytes, boneWord(key));
    if (key.hasScale) {
        appendInt16(bytes, key.scaleFrame);
        appendInt16s(bytes, key.scale);
    }
    if (key.hasRotation) {
        appendInt16(bytes, key.rotationFrame);
        appendInt16s(bytes, key.rotationXyzw);
    }
    if (key.hasTranslation) {
        appendInt16(bytes, key.translationFrame);
        appendInt16s(bytes, key.translation);
    }
}

void appendKeyData(std::string& bytes, const SkaStreamDesc& stream) {
    appendFloat(bytes, stream.scaleFactor);
    appendFloat(bytes, stream.translationFactor);
    for (const SkaBoneStateDesc& state : stream.boneStates) {
        appendUint16(bytes, static_cast<uint16_t>(state.bone << skaBoneWord::frameShift));
        appendInt16s(bytes, state.values);
    }
    appendUint16(bytes, endWord);
    for (const SkaFrameDesc& frame : stream.frames) {
        appendUint16(bytes, static_cast<uint16_t>(frame.frame << skaBoneWord::frameShift));
        for (const SkaBoneKeyDesc& key : frame.keys) {
            appendBoneKey(bytes, key);
        }
    }
    appendUint16(bytes, endWord);
}

// `body` starts at file position `bodyOffset`.
AnimationLayout appendAnimationBody(std::string& body, size_t bodyOffset,
                                    const SkaAnimationDesc& animation) {
    if (animation.streams.size() > streamSlots) {
        throw std::invalid_argument("animation \"" + animation.name + "\" has more than " +
                                    std::to_string(streamSlots) + " streams");
    }
    AnimationLayout layout;
    layout.eventPosition = static_cast<int32_t>(bodyOffset + body.size());
    appendZeros(body, skaEventSize * animation.eventCount);
    for (const SkaStreamDesc& stream : animation.streams) {
        layout.streamPositions.push_back(static_cast<int32_t>(bodyOffset + body.size()));
        appendKeyData(body, stream);
    }
    return layout;
}

// Offsets inside an animation header count from that header's own position.
void appendAnimationHeader(std::string& bytes, const SkaAnimationDesc& animation,
                           const AnimationLayout& layout) {
    const auto headerPosition = static_cast<int32_t>(bytes.size());
    appendText(bytes, animation.name, skaAnimationField::nameSize);
    appendUint16(bytes, animation.eventCount);
    appendInt32(bytes, layout.eventPosition - headerPosition);
    appendUint32(bytes, static_cast<uint32_t>(animation.streams.size()));
    for (size_t slot = 0; slot < streamSlots; ++slot) {
        if (slot >= animation.streams.size()) {
            appendZeros(bytes, skaStreamSlotSize);
            continue;
        }
        appendUint16(bytes, animation.streams[slot].frameCount);
        appendZeros(bytes, 2);
        appendFloat(bytes, animation.streams[slot].frameTime);
        appendZeros(bytes, 4);
        appendInt32(bytes, layout.streamPositions[slot] - headerPosition);
    }
}

} // namespace

std::string writeSka(const SkaDesc& ska) {
    const int32_t boneOffset = headerSize;
    const int32_t animationOffset = boneOffset + boneSize * static_cast<int32_t>(ska.bones.size());
    const size_t bodyOffset = animationOffset + animationSize * ska.animations.size();

    std::string bytes;
    appendInt32(bytes, static_cast<int32_t>(ska.bones.size()));
    appendInt32(bytes, boneOffset);
    appendInt32(bytes, ska.variationCount);
    appendZeros(bytes, 4);
    appendInt32(bytes, static_cast<int32_t>(ska.animations.size()));
    appendInt32(bytes, animationOffset);
    for (const SkaBoneDesc& bone : ska.bones) {
        appendBone(bytes, bone);
    }

    // The bodies are laid out first so that the headers in front of them can name where
    // they landed.
    std::string body;
    std::vector<AnimationLayout> layouts;
    for (const SkaAnimationDesc& animation : ska.animations) {
        layouts.push_back(appendAnimationBody(body, bodyOffset, animation));
    }
    for (size_t k = 0; k < ska.animations.size(); ++k) {
        appendAnimationHeader(bytes, ska.animations[k], layouts[k]);
    }
    return bytes + body;
}

} // namespace samplemodel
