#pragma once

#include "CommandLine.h"
#include "Diagnostics.h"
#include "HeadlessEngine.h"
#include "ModelPaths.h"

// Converts one SKM model (with its SKA file and the MDF files it names) into a .skeleton, a
// .mesh and a .material. Returns the exit status: 0 when everything was converted, 1 after
// the usage text, an argument error or any failure, each reported on standard output.
int runConversion(int argc, const char* const* argv);

// Converts the model the options name on an engine that is already set up, reporting progress,
// warnings and errors to diagnostics; returns 0 when everything was converted, else
// 1. The engine holds none of the model's resources afterwards, so it can convert the next.
int convertModel(const ConversionOptions& options, HeadlessEngine& engine, Diagnostics& diagnostics,
                 Ogre::MeshVersion meshVersion = Ogre::MESH_VERSION_LATEST,
                 const InputsFound& inputsFound = {});
