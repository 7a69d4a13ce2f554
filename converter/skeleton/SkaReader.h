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

    // Writes the variation warning to out when the file declares variations.
    SkaHeader readHeader(std::ostream& out);

    // False with error set when the table's count cannot be believed.
    bool readBones(const SkaHeader& header, std::vector<SkaBone>& bones, std::string& error);

    // Damage that can be worked around (key data without its end word, too many stream
    // slots) is reported on out; false with error set when the file cannot be read sensibly.
    bool readAnimations(const SkaHeader& header, std::vector<AnimationData>& animations,
                        std::ostream& out, std::string& error);

private:
    bool readAnimation(const char* record, int64_t headerPosition, AnimationData& animation,
                       std::ostream& out, std::string& error);

    ByteStream stream;
    std::string path;
    TableReader tables;
    int64_t keyBytesLeft;
};
