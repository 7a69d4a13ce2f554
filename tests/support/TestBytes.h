#pragma once
// Byte-level helpers that the format tests and the seed writer share.

#include "ByteWriter.h"

#include <cstdint>
#include <string>

// Overwrites the little-endian int32 at offset, as a damaged file would hold it.
inline void patchInt32(std::string& bytes, std::size_t offset, int32_t value) {
    std::string field;
    samplemodel::appendInt32(field, value);
    bytes.replace(offset, field.size(), field);
}

// The worked example of SKA key data: factors 1.0 and 0.5, no bone states, frame 0, then bone 1
// with a rotation record for frame 3 of (0, 0, 0, 32767), then the end word.
inline const std::string workedExampleKeyData("\x00\x00\x80\x3F"
                                              "\x00\x00\x00\x3F"
                                              "\xFE\xFF"
                                              "\x00\x00"
                                              "\x15\x00"
                                              "\x03\x00\x00\x00\x00\x00\x00\x00\xFF\x7F"
                                              "\xFE\xFF",
                                              26);
