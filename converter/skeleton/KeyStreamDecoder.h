#pragma once

#include "../ByteStream.h"
#include "SkaRecords.h"

#include <vector>

// How the key data of one stream came to an end.
enum class KeyDataEnd {
    endWord,     // the end word closed the frames, as in a sound file
    endOfFile,   // the file ran out first; the keys read so far are kept
    outOfBudget, // more bytes than the caller allowed; the file re-reads its own data
};

struct DecodedKeys {
    std::vector<BoneKey> keys;
    KeyDataEnd end = KeyDataEnd::endWord;
    bool anyByteRead = false;
};

// Decodes the key data of one stream from the stream's current position: the two factors,
// the bone states (read past), then the frames with their bone words and channel records.
// byteBudget counts down the bytes this may read.
DecodedKeys decodeKeyData(ByteStream& stream, int64_t& byteBudget);
