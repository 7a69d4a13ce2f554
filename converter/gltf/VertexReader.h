#pragma once

#include <OgreVertexIndexData.h>

#include <optional>
#include <vector>

// The float values of one vertex element, components after components, vertex after vertex;
// nothing when the data holds no such element or stores it other than as `components` floats.
std::optional<std::vector<float>> readFloatElement(const Ogre::VertexData& data,
                                                   Ogre::VertexElementSemantic semantic,
                                                   int components);

// The indices of an index buffer, whether it stores them in 16 or 32 bits.
std::vector<uint32_t> readIndices(const Ogre::IndexData& data);
