#pragma once

#include "../ByteStream.h"
#include "../TableReader.h"
#include "SkaRecords.h"

#include <ostream>
#include <string>
#include <vector>

// One pass over an SKA file through a single stream: the header, the bone table, then the
// animations with their key streams, in that order.
class SkaReader {
public:
    SkaReader(std::string bytes, const std::string& path);
    SkaReader(ByteStream source, const std::string& path);

    // Writes the variation warning to out when the file declares variations.
    SkaHeader readHeader(std::ostream& out);

    // False with error set when the table's count cannot be believed.
    bool readBones(const SkaHeader& header, std::vector<SkaBone>& bones, std::string& error);

    // The animations one at a time, so that a caller can build each animation and let its keys
    // go before decoding the next: first the table of animation headers, then animations 0 to
    // animationCount() - 1 in order. Damage that can be worked around (key data without its end
    // word, too many stream slots) is reported on out; false with error set when the file cannot
    // be read sensibly.
    bool readAnimationTable(const SkaHeader& header, std::string& error);
    std::size_t animationCount() const { return animationTable.size() / skaAnimationSize; }
    bool readAnimation(std::size_t index, AnimationData& animation, std::ostream& out,
                       std::string& error);

private:
    ByteStream stream;
    std::string path;
    TableReader tables;
    int64_t keyBytesLeft;
    std::string animationTable;
    int64_t animationTableOffset = 0;
};
