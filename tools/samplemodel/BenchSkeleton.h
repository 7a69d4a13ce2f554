#pragma once
// The bench model's bones: a chain standing along +Y, each bone one link above its parent
// and turned a little about Y, so that keyframes have a binding rotation to be taken
// relative to.

#include "FigureSkeleton.h"

#include <vector>

namespace samplemodel {

constexpr double boneLength = 2;

std::vector<FigureBone> chainBones(int count);

} // namespace samplemodel
