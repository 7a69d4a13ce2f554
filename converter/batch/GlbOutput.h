#pragma once

#include "ConversionRun.h"
#include "Diagnostics.h"
#include "ModelPlan.h"

#include <string>
#include <vector>

// Writes the model's .glb from the engine objects its OGRE files come from, embedding the
// texture files the plan found. The writer's warnings go to diagnostics, each naming the .glb;
// returns the textures it did not find that the plan does not list as missing already.
std::vector<std::string> writeModelGlb(const BuiltModel& model, const ModelPlan& plan,
                                       Diagnostics& diagnostics);
