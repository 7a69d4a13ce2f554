#include "KeyStreamDecoder.h"

#include "../Finite.h"

namespace {

constexpr auto endWord = static_cast<int16_t>(skaKeyData::endWord);
constexpr double rotationScale = 1.0 / skaKeyData::rotationUnit;

// Reads through one stream, refusing to go past the end of the file or the byte budget.
class KeyDataCursor {
public:
    KeyDataCursor(ByteStream& stream, int64_t& byteBudget) : stream(stream), budget(byteBudget) {}

    bool read(char* target, std::size_t count) {
        if (stream.failed()) {
            end = KeyDataEnd::endOfFile;
            return false;
        }
        if (budget < static_cast<int64_t>(count)) {
            end = KeyDataEnd::outOfBudget;
            return false;
        }
        budget -= static_cast<int64_t>(count);
        std::fill(target, target + count, '\0');
        if (!stream.read(target, count)) {
            end = KeyDataEnd::endOfFile;
            return false;
        }
        anyByteRead = true;
        return true;
    }

    bool readWord(int16_t& word) {
        char bytes[2];
        if (!read(bytes, sizeof bytes)) {
            return false;
        }
        word = readInt16(bytes, 0);
        return true;
    }

    ByteStream& stream;
    int64_t& budget;
    KeyDataEnd end = KeyDataEnd::endWord;
    bool anyByteRead = false;
};

float scaled(int16_t stored, double factor) {
    return clampedToFloat(static_cast<double>(stored) * factor);
}

// A channel record: its frame, then count values, each scaled by factor.
template <std::size_t count>
bool readChannel(KeyDataCursor& cursor, double factor, uint16_t& frame,
                 std::array<float, count>& values) {
    char record[2 + 2 * count];
    if (!cursor.read(record, sizeof record)) {
        return false;
    }
    frame = readUint16(record, 0);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = scaled(readInt16(record, 2 + 2 * i), factor);
    }
    return true;
}

// The rotation record stores x, y, z, w; keys carry w first.
bool readRotation(KeyDataCursor& cursor, BoneKey& key) {
    std::array<float, 4> xyzw;
    if (!readChannel(cursor, rotationScale, key.rotationFrame, xyzw)) {
        return false;
    }
    key.rotation = {xyzw[3], xyzw[0], xyzw[1], xyzw[2]};
    return true;
}

// The channel records follow their bone word in the order scale, rotation, translation.
bool readBoneKey(KeyDataCursor& cursor, int16_t word, float scaleFactor, float translationFactor,
                 BoneKey& key) {
    using namespace skaBoneWord;
    key.bone = static_cast<uint16_t>(word >> boneShift);
    if (word & scaleBit) {
        key.channels |= scaleChannel;
        if (!readChannel(cursor, scaleFactor, key.scaleFrame, key.scale)) {
            return false;
        }
    }
    if (word & rotationBit) {
        key.channels |= rotationChannel;
        if (!readRotation(cursor, key)) {
            return false;
        }
    }
    if (word & translationBit) {
        key.channels |= translationChannel;
        if (!readChannel(cursor, translationFactor, key.translationFrame, key.translation)) {
            return false;
        }
    }
    return true;
}

bool skipBoneStates(KeyDataCursor& cursor) {
    int16_t marker = endWord;
    char state[skaKeyData::boneStateSize];
    if (!cursor.readWord(marker)) {
        return false;
    }
    while (marker != endWord) {
        if (!cursor.read(state, sizeof state) || !cursor.readWord(marker)) {
            return false;
        }
    }
    return true;
}

// The first word opens the first frame whatever its bit 0; after it, words with bit 0 set are
// bone words and the others frame words, until the end word.
void readFrames(KeyDataCursor& cursor, float scaleFactor, float translationFactor,
                std::vector<BoneKey>& keys) {
    int16_t word = endWord;
    if (!cursor.readWord(word) || word == endWord) {
        return;
    }
    do {
        if (!cursor.readWord(word)) {
            return;
        }
        while (word & skaBoneWord::boneWordBit) {
            BoneKey key;
            if (!readBoneKey(cursor, word, scaleFactor, translationFactor, key)) {
                return;
            }
            keys.push_back(key);
            if (!cursor.readWord(word)) {
                return;
            }
        }
    } while (word != endWord);
}

} // namespace

DecodedKeys decodeKeyData(ByteStream& stream, int64_t& byteBudget) {
    KeyDataCursor cursor(stream, byteBudget);
    DecodedKeys decoded;
    char factors[skaKeyData::factorsSize];
    if (cursor.read(factors, sizeof factors) && skipBoneStates(cursor)) {
        readFrames(cursor, readFloat(factors, 0), readFloat(factors, 4), decoded.keys);
    }
    decoded.end = cursor.end;
    decoded.anyByteRead = cursor.anyByteRead;
    return decoded;
}
