#pragma once

#include <cstddef>
#include <cstdint>

// What one skeleton import may spend, set by what the machine can hold rather than by the size
// of the file: a file of a few kilobytes may rightly ask for millions of keyframes. The
// defaults are the program's own; the fuzz targets pass smaller ones to keep each input fast.
struct ImportLimits {
    // Every animation stays in the skeleton until it is written, and the engine holds a keyframe
    // in about 90 bytes: eight million of them take some 720 MB, beyond any real model.
    std::size_t keyframes = 8000000;
    // Animations may share key data; a stream read before is read again for each animation that
    // names it, and a file that names one stream over and over would take time out of all
    // proportion to its size. No real model comes near 64 MiB of such repeated reading.
    int64_t repeatedKeyBytes = int64_t{64} << 20;
};
