#include "FiniteVertices.h"

#include <algorithm>
#include <cmath>

namespace {

// Returns how many values it set to 0.
template <typename Iterator> std::size_t zeroNonFinite(Iterator begin, Iterator end) {
    std::size_t zeroed = 0;
    for (auto value = begin; value != end; ++value) {
        if (!std::isfinite(*value)) {
            *value = 0;
            ++zeroed;
        }
    }
    return zeroed;
}

template <typename Values> std::size_t zeroNonFinite(Values& values) {
    return zeroNonFinite(values.begin(), values.end());
}

// Only the first weightCount slots count; the others are never read.
std::size_t zeroNonFiniteWeights(SkmVertex& vertex) {
    const auto inUse = std::clamp<int>(vertex.weightCount, 0, 6);
    return zeroNonFinite(vertex.boneWeight.begin(), vertex.boneWeight.begin() + inUse);
}

} // namespace

bool zeroNonFiniteValues(SkmVertex& vertex) {
    const std::size_t zeroed = zeroNonFinite(vertex.position) + zeroNonFinite(vertex.normal) +
                               zeroNonFinite(vertex.uv) + zeroNonFiniteWeights(vertex);
    return zeroed > 0;
}
