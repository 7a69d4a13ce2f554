#pragma once

#include <algorithm>
#include <array>
#include <cmath>

template <std::size_t count> bool allFinite(const std::array<float, count>& values) {
    return std::all_of(values.begin(), values.end(),
                       [](float value) { return std::isfinite(value); });
}
