#pragma once

#include <OgreAxisAlignedBox.h>
#include <OgreVector.h>

// The unpadded box around a mesh's positions, and the distance of the farthest position from
// the model's origin (not from the centre of the box). The distance is computed in float, as
// the engine computes lengths; where the squares pass the float range (coordinates beyond
// about 1.8e19) it is computed in double and kept to the largest float, so that finite
// positions always give a finite radius.
class MeshBounds {
public:
    // Positions must be finite.
    void add(const Ogre::Vector3& position);

    Ogre::AxisAlignedBox box() const { return Ogre::AxisAlignedBox(minimum, maximum); }
    float radius() const;

private:
    bool empty = true;
    Ogre::Vector3 minimum;
    Ogre::Vector3 maximum;
    float largestSquaredLength = 0;
    double largestWideSquaredLength = 0;
};
