#include "MeshBounds.h"

#include "../Finite.h"

#include <OgreMath.h>

#include <algorithm>

namespace {

double wideSquaredLength(const Ogre::Vector3& position) {
    const double x = position.x, y = position.y, z = position.z;
    return x * x + y * y + z * z;
}

} // namespace

void MeshBounds::add(const Ogre::Vector3& position) {
    if (empty) {
        minimum = maximum = position;
        empty = false;
    }
    minimum.makeFloor(position);
    maximum.makeCeil(position);
    largestSquaredLength = std::max(largestSquaredLength, position.squaredLength());
    largestWideSquaredLength = std::max(largestWideSquaredLength, wideSquaredLength(position));
}

float MeshBounds::radius() const {
    const float radius = Ogre::Math::Sqrt(largestSquaredLength);
    return std::isfinite(radius) ? radius : clampedToFloat(std::sqrt(largestWideSquaredLength));
}
