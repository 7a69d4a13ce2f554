#pragma once
// The sample figure's animations: "idle", "walk" and "wave", all looping.

#include "KeyStream.h"

#include <vector>

namespace samplemodel {

std::vector<Clip> figureClips();

} // namespace samplemodel
