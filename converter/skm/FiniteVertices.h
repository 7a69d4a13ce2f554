#pragma once

#include "SkmRecords.h"

// Sets every value of a vertex that is not finite (position, normal, texture coordinate, the
// weights in use) to 0, and tells whether it had such a value. A NaN or an infinity would make
// the mesh's bounds meaningless and be written into the .mesh as it stands.
bool zeroNonFiniteValues(SkmVertex& vertex);
