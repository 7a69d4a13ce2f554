#pragma once
// The sample figure's skin: one tube per bone, in the binding pose.

#include "FigureSkeleton.h"
#include "ToeeFiles.h"

#include <string>
#include <vector>

namespace samplemodel {

enum Material : uint16_t { skin, cloth, leather, materialCount };

// The material names, in material-table order.
const std::vector<std::string>& materialNames();

// Fills the vertex and face tables of `skm` from the bones' binding pose.
void buildFigureBody(const std::vector<FigureBone>& bones, SkmDesc& skm);

} // namespace samplemodel
