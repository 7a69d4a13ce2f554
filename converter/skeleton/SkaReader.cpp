#include "SkaReader.h"

#include "KeyStreamDecoder.h"

namespace {

// Sound files read each stream's key data once; a file whose streams keep pointing back into
// the same bytes would otherwise cost time and memory out of all proportion to its size.
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

} // namespace

SkaReader::SkaReader(std::string bytes, const std::string& path)
    : SkaReader(ByteStream(std::move(bytes)), path) {}

SkaReader::SkaReader(ByteStream source, const std::string& path)
    : stream(std::move(source)), path(path), tables(stream, path),
      keyBytesLeft(keyReadsPerByte * stream.size() + keyByteAllowance) {}

SkaHeader SkaReader::readHeader(std::ostream& out) {
    const SkaHeader header = decodeHeader(stream.readBlock(0, skaHeaderSize).data());
    if (header.variationCount != 0) {
        out << " Warning: Variation count != 0. Variation format is unknown.\n";
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
bool SkaReader::readAnimation(std::size_t index, AnimationData& animation, std::ostream& out,
                              std::string& error) {
    const char* record = animationTable.data() + skaAnimationSize * index;
    const int64_t headerPosition =
        animationTableOffset + static_cast<int64_t>(skaAnimationSize * index);
    animation.name = readText(record, skaAnimationField::name, skaAnimationField::nameSize);
    const StreamSlot first = decodeSlot(record, 0);
    animation.frameCount = first.frameCount;
    animation.frameTime = first.frameTime;

    uint32_t streamCount = readUint32(record, skaAnimationField::streamCount);
    if (streamCount > skaStreamSlots) {
        out << "\tWarning: animation \"" << animation.name << "\" claims " << streamCount
            << " streams; only the " << skaStreamSlots << " slots of its header are read.\n";
        streamCount = skaStreamSlots;
    }
    for (std::size_t s = 0; s < streamCount; ++s) {
        const StreamSlot slot = decodeSlot(record, s);
        stream.seek(headerPosition + slot.dataOffset);
        DecodedKeys decoded = decodeKeyData(stream, keyBytesLeft);
        if (decoded.end == KeyDataEnd::outOfBudget) {
            error = path + ": the key streams of animation \"" + animation.name +
                    "\" read the file's key data over and over; the file is damaged.";
            return false;
        }
        if (decoded.end == KeyDataEnd::endOfFile && decoded.anyByteRead) {
            out << "\tWarning: the key data of animation \"" << animation.name << "\", stream " << s
                << ", ends before its end word; its " << decoded.keys.size()
                << " complete keys are kept.\n";
        }
        animation.streams.push_back({slot.frameCount, slot.frameTime, std::move(decoded.keys)});
    }
    return true;
}
