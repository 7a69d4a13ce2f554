#include "SkaReader.h"

#include "KeyStreamDecoder.h"

namespace {

// A stream's key data is read whole the first time its position is named; streams that name
// a position read before read it again under a limit of their own. Streams of a sound file
// never overlap, so the first reads take no more than the file holds; a file whose streams
// start inside each other's key data would otherwise cost time out of all proportion to its size.
constexpr int64_t keyByteAllowance = 64 * 1024;
constexpr int64_t keyReadsPerByte = 2;

SkaHeader decodeHeader(const char* bytes) {
    using namespace skaHeaderField;
    SkaHeader header;
    header.boneCount = readInt32(bytes, boneCount);
    header.boneOffset = readInt32(bytes, boneOffset);
    header.variationCount = readInt32(bytes, variationCount);
    header.animationCount = readInt32(bytes, animationCount);
    header.animationOffset = readInt32(bytes, animationOffset);
    return header;
}

SkaBone decodeBone(const char* record) {
    using namespace skaBoneField;
    SkaBone bone;
    bone.name = readText(record, name, nameSize);
    for (std::size_t i = 0; i < 3; ++i) {
        bone.bindScale[i] = readFloat(record, bindScale + 4 * i);
        bone.bindPosition[i] = readFloat(record, bindPosition + 4 * i);
    }
    for (std::size_t i = 0; i < 4; ++i) {
        bone.bindRotation[i] = readFloat(record, bindRotation + 4 * i);
    }
    return bone;
}

struct StreamSlot {
    uint16_t frameCount;
    float frameTime;
    int32_t dataOffset;
};

StreamSlot decodeSlot(const char* animationRecord, std::size_t slot) {
    using namespace skaStreamField;
    const char* record =
        animationRecord + skaAnimationField::streamSlots + skaStreamSlotSize * slot;
    return {readUint16(record, frameCount), readFloat(record, frameTime),
            readInt32(record, dataOffset)};
}

void warnOfKeyDataOverLimit(const std::string& animation, bool repeated, int64_t limit,
                            Diagnostics& out) {
    const std::string overrun = repeated
                                    ? textOf("read key data that other streams share, past the ",
                                             limit, " bytes such repeated reading may take")
                                    : textOf("read the file's key data over and over, past the ",
                                             limit, " bytes its size allows");
    out.warning("Warning: the key streams of animation \"" + animation + "\" " + overrun +
                    "; skipped.",
                Placement::step);
}

} // namespace

SkaReader::SkaReader(std::string bytes, const std::string& path, int64_t repeatedKeyBytes)
    : SkaReader(ByteStream(std::move(bytes)), path, repeatedKeyBytes) {}

SkaReader::SkaReader(ByteStream source, const std::string& path, int64_t repeatedKeyBytes)
    : stream(std::move(source)), tables(stream, path),
      keyByteLimit(keyReadsPerByte * stream.size() + keyByteAllowance), keyBytesLeft(keyByteLimit),
      repeatedKeyByteLimit(repeatedKeyBytes), repeatedKeyBytesLeft(repeatedKeyBytes) {}

SkaHeader SkaReader::readHeader(Diagnostics& out) {
    const SkaHeader header = decodeHeader(stream.readBlock(0, skaHeaderSize).data());
    if (header.variationCount != 0) {
        out.warning("Warning: Variation count != 0. Variation format is unknown.",
                    Placement::spaced);
    }
    return header;
}

bool SkaReader::readBones(const SkaHeader& header, std::vector<SkaBone>& bones,
                          std::string& error) {
    return tables.read({"bone table", header.boneCount, header.boneOffset, skaBoneSize}, decodeBone,
                       bones, error);
}

bool SkaReader::readAnimationTable(const SkaHeader& header, std::string& error) {
    animationTableOffset = header.animationOffset;
    const TableLocation table{"animation table", header.animationCount, header.animationOffset,
                              skaAnimationSize};
    return tables.readBlock(table, animationTable, error);
}

// Offsets inside an animation header count from that header's own position. The events take
// no part in the conversion, and every stream read seeks anew, so they are not read at all.
bool SkaReader::readAnimation(std::size_t index, AnimationData& animation, Diagnostics& out) {
    const char* record = animationTable.data() + skaAnimationSize * index;
    const int64_t headerPosition =
        animationTableOffset + static_cast<int64_t>(skaAnimationSize * index);
    animation.name = readText(record, skaAnimationField::name, skaAnimationField::nameSize);
    const StreamSlot first = decodeSlot(record, 0);
    animation.frameCount = first.frameCount;
    animation.frameTime = first.frameTime;

    uint32_t streamCount = readUint32(record, skaAnimationField::streamCount);
    if (streamCount > skaStreamSlots) {
        out.warning(textOf("Warning: animation \"", animation.name, "\" claims ", streamCount,
                           " streams; only the ", skaStreamSlots, " slots of its header are read."),
                    Placement::step);
        streamCount = skaStreamSlots;
    }
    for (std::size_t s = 0; s < streamCount; ++s) {
        const StreamSlot slot = decodeSlot(record, s);
        const int64_t position = headerPosition + slot.dataOffset;
        const bool repeated = !streamPositionsRead.insert(position).second;
        stream.seek(position);
        DecodedKeys decoded = decodeKeyData(stream, repeated ? repeatedKeyBytesLeft : keyBytesLeft);
        if (decoded.end == KeyDataEnd::outOfBudget) {
            warnOfKeyDataOverLimit(animation.name, repeated,
                                   repeated ? repeatedKeyByteLimit : keyByteLimit, out);
            return false;
        }
        if (decoded.end == KeyDataEnd::endOfFile && decoded.anyByteRead) {
            out.warning(textOf("Warning: the key data of animation \"", animation.name,
                               "\", stream ", s, ", ends before its end word; its ",
                               decoded.keys.size(), " complete keys are kept."),
                        Placement::step);
        }
        animation.streams.push_back({slot.frameCount, slot.frameTime, std::move(decoded.keys)});
    }
    return true;
}
