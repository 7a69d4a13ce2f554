#pragma once

#include "ModelPlan.h"
#include "StampFile.h"

#include <string>
#include <vector>

// The tool's version, the output format, the mesh format when a .mesh is written and the textures
// found: a change of any of them calls for a new conversion even when no file time says so. With
// the OGRE files alone it reads as it did before the glTF output existed, so that their stamps
// stay good.
std::string signatureOf(const ModelPlan& plan);

// The stamp of a model just converted: the outputs that exist now, with their times.
ModelStamp stampOf(const ModelPlan& plan);

// True when the stamp was made by this version with these settings, every output it names is
// still the file it wrote, newer than every input, and every texture copy is there.
bool isUpToDate(const ModelPlan& plan, const ModelStamp* stamp);
