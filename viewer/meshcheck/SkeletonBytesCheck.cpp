#include "SkeletonBytesCheck.h"

#include "ChunkReader.h"

#include <set>
#include <vector>

namespace {

enum SkeletonChunkId : std::uint16_t {
    blendModeChunk = 0x1010,
    boneChunk = 0x2000,
    boneParentChunk = 0x3000,
    animationChunk = 0x4000,
    animationBaseChunk = 0x4010,
    trackChunk = 0x4100,
    keyFrameChunk = 0x4110,
    animationLinkChunk = 0x5000,
};

constexpr std::uint32_t engineBoneLimit = 256;
constexpr std::uint16_t noBone = 0xFFFF;
// The engine reads a scale where a chunk is longer than one without: the header and the fixed
// fields (a bone's handle, position and orientation; a key's time, rotation and translation),
// the bone's name not counted.
constexpr std::uint32_t boneLengthWithoutScale = 6 + 2 + 12 + 16;
constexpr std::uint32_t keyLengthWithoutScale = 6 + 4 + 16 + 12;
constexpr std::uint32_t scaleLength = 12;

std::string boneText(std::uint32_t handle) {
    return "bone " + std::to_string(handle);
}

class SkeletonWalk {
public:
    explicit SkeletonWalk(std::string_view bytes) : in(bytes) {}

    SkeletonCheck run() {
        if (in.version() != "[Serializer_v1.80]" && in.version() != "[Serializer_v1.10]")
            throw FileDamage("its format " + in.version() + " is not one the viewer checks");
        while (!in.atEnd())
            readPart(in.readChunk());
        for (std::uint32_t handle = 0; handle < parents.size(); ++handle)
            if (!boneExists(handle))
                throw FileDamage("its bones skip the handle " + std::to_string(handle));
        SkeletonCheck check;
        check.boneCount = static_cast<std::uint32_t>(parents.size());
        return check;
    }

private:
    void readPart(const ChunkReader::Chunk& chunk) {
        switch (chunk.id) {
        case blendModeChunk:
            in.readUint16();
            break;
        case boneChunk:
            readBone(chunk);
            break;
        case boneParentChunk:
            readBoneParent();
            break;
        case animationChunk:
            readAnimation();
            break;
        case animationLinkChunk:
            throw FileDamage("it takes animations from another skeleton, which the viewer does "
                             "not check");
        default:
            throw FileDamage("it holds the unknown chunk " + std::to_string(chunk.id));
        }
    }

    void readBone(const ChunkReader::Chunk& chunk) {
        if (!boneNames.insert(in.readString()).second)
            throw FileDamage("two bones have the same name");
        const std::uint16_t handle = in.readUint16();
        if (handle >= engineBoneLimit)
            throw FileDamage("its " + boneText(handle) + " is past the engine's 256 bones");
        if (boneExists(handle))
            throw FileDamage("two bones have the handle " + std::to_string(handle));
        if (handle >= parents.size())
            parents.resize(handle + 1u, absent);
        parents[handle] = noBone;
        in.skipFloats(3 + 4);
        readOptionalScale(chunk, boneLengthWithoutScale);
    }

    void readOptionalScale(const ChunkReader::Chunk& chunk, std::uint32_t lengthWithoutScale) {
        if (chunk.length == lengthWithoutScale + scaleLength)
            in.skipFloats(3);
        else if (chunk.length != lengthWithoutScale)
            throw FileDamage("a chunk's length of " + std::to_string(chunk.length) +
                             " says neither with nor without scale");
    }

    void readBoneParent() {
        const std::uint16_t child = in.readUint16();
        const std::uint16_t parent = in.readUint16();
        requireBone(child);
        requireBone(parent);
        if (parents[child] != noBone)
            throw FileDamage("its " + boneText(child) + " is given two parents");
        for (std::uint32_t ancestor = parent; ancestor != noBone; ancestor = parents[ancestor])
            if (ancestor == child)
                throw FileDamage("its " + boneText(child) + " is its own ancestor");
        parents[child] = parent;
    }

    void readAnimation() {
        if (!animationNames.insert(in.readString()).second)
            throw FileDamage("two animations have the same name");
        in.readFloat(); // length
        if (in.nextChunkIsOneOf({animationBaseChunk})) {
            in.readChunk();
            in.readString();
            in.readFloat();
        }
        std::set<std::uint16_t> trackedBones;
        while (in.nextChunkIsOneOf({trackChunk})) {
            in.readChunk();
            const std::uint16_t bone = in.readUint16();
            requireBone(bone);
            if (!trackedBones.insert(bone).second)
                throw FileDamage("an animation moves " + boneText(bone) + " on two tracks");
            while (in.nextChunkIsOneOf({keyFrameChunk}))
                readKeyFrame(in.readChunk());
        }
    }

    void readKeyFrame(const ChunkReader::Chunk& chunk) {
        in.skipFloats(1 + 4 + 3);
        readOptionalScale(chunk, keyLengthWithoutScale);
    }

    bool boneExists(std::uint32_t handle) const {
        return handle < parents.size() && parents[handle] != absent;
    }

    void requireBone(std::uint16_t handle) const {
        if (!boneExists(handle))
            throw FileDamage("it names the missing " + boneText(handle));
    }

    static constexpr std::uint32_t absent = 0x10000;

    ChunkReader in;
    std::vector<std::uint32_t> parents; // per handle: the parent, noBone, or absent
    std::set<std::string> boneNames;
    std::set<std::string> animationNames;
};

} // namespace

SkeletonCheck checkSkeletonBytes(std::string_view bytes) {
    try {
        return SkeletonWalk(bytes).run();
    } catch (const FileDamage& damage) {
        SkeletonCheck check;
        check.fault = damage.what();
        return check;
    }
}
