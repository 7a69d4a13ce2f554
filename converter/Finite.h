#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

template <std::size_t count> bool allFinite(const std::array<float, count>& values) {
    return std::all_of(values.begin(), values.end(),
                       [](float value) { return std::isfinite(value); });
}

// A finite double as a float, kept to the largest float where it lies beyond the float range,
// so that it never becomes an infinity in a file. Values that are not finite stay as they are.
inline float clampedToFloat(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    return static_cast<float>(std::isfinite(value) ? std::clamp(value, -largest, largest) : value);
}
