#include "skm/MeshBounds.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

MeshBounds boundsOf(std::initializer_list<Ogre::Vector3> positions) {
    MeshBounds bounds;
    for (const Ogre::Vector3& position : positions) {
        bounds.add(position);
    }
    return bounds;
}

// The radius runs from the origin, not from the centre of the box.
TEST(MeshBoundsTest, BoxAndRadiusOfOrdinaryPositions) {
    const MeshBounds bounds = boundsOf({{3, 4, 0}, {-1, -1, -1}, {0, 1, 2}});
    EXPECT_EQ(bounds.box().getMinimum(), Ogre::Vector3(-1, -1, -1));
    EXPECT_EQ(bounds.box().getMaximum(), Ogre::Vector3(3, 4, 2));
    EXPECT_EQ(bounds.radius(), 5.0f);
    EXPECT_EQ(boundsOf({{2, -3, 6}}).radius(), 7.0f);
}

// Squares past the float range: the radius is still the distance where a float holds it.
TEST(MeshBoundsTest, RadiusOfPositionsWhoseSquaresPassTheFloatRange) {
    EXPECT_FLOAT_EQ(boundsOf({{3e19f, 4e19f, 0}, {1, 1, 1}}).radius(), 5e19f);
    EXPECT_FLOAT_EQ(boundsOf({{0, 0, -2e30f}}).radius(), 2e30f);
}

TEST(MeshBoundsTest, RadiusBeyondTheFloatRangeIsTheLargestFloat) {
    constexpr float largest = std::numeric_limits<float>::max();
    const MeshBounds bounds = boundsOf({{largest, largest, largest}, {-largest, 0, -largest}});
    EXPECT_EQ(bounds.radius(), largest);
    EXPECT_EQ(bounds.box().getMinimum(), Ogre::Vector3(-largest, 0, -largest));
    EXPECT_EQ(bounds.box().getMaximum(), Ogre::Vector3(largest, largest, largest));
}

} // namespace
