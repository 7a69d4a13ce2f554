#pragma once

#include "SkmRecords.h"

#include <vector>

// Sets every value of a vertex that is not finite (position, normal, texture coordinate, the
// weights in use) to 0, and returns how many vertices had such a value. A NaN or an infinity
// would make the mesh's bounds meaningless and be written into the .mesh as it stands.
std::size_t zeroNonFiniteValues(std::vector<SkmVertex>& vertices);
