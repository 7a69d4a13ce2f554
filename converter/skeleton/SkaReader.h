#pragma once

#include "../ByteStream.h"
#include "../Diagnostics.h"
#include "../TableReader.h"
#include "ImportLimits.h"
#include "SkaRecords.h"

#include <string>
#include <unordered_set>
#include <vector>

// One pass over an SKA file through a single stream: the header, the bone table, then the
// animations with their key streams, in that order.
class SkaReader {
public:
    // repeatedKeyBytes bounds the reading of key data that streams share (see ImportLimits).
    SkaReader(std::string bytes, const std::string& path,
              int64_t repeatedKeyBytes = ImportLimits().repeatedKeyBytes);
    SkaReader(ByteStream source, const std::string& path,
              int64_t repeatedKeyBytes = ImportLimits().repeatedKeyBytes);

    // Writes the variation warning to out when the file declares variations.
    SkaHeader readHeader(Diagnostics& out);

    // False with error set when the table's count cannot be believed.
    bool readBones(const SkaHeader& header, std::vector<SkaBone>& bones, std::string& error);

    // The animations one at a time, so that a caller can build each animation and let its keys
    // go before decoding the next: first the table of animation headers, then animations 0 to
    // animationCount() - 1 in order. Damage that can be worked around (key data without its end
    // word, too many stream slots) is reported on out, and an animation whose streams read more
    // key data than the file can sensibly hold is left out with a warning (readAnimation is then
    // false); readAnimationTable is false with error set when the table cannot be read sensibly.
    bool readAnimationTable(const SkaHeader& header, std::string& error);
    std::size_t animationCount() const { return animationTable.size() / skaAnimationSize; }
    bool readAnimation(std::size_t index, AnimationData& animation, Diagnostics& out);

private:
    ByteStream stream;
    TableReader tables;
    int64_t keyByteLimit;
    int64_t keyBytesLeft;
    int64_t repeatedKeyByteLimit;
    int64_t repeatedKeyBytesLeft;
    std::unordered_set<int64_t> streamPositionsRead;
    std::string animationTable;
    int64_t animationTableOffset = 0;
};
