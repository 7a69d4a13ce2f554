#pragma once

#include "CommandLine.h"
#include "Diagnostics.h"
#include "HeadlessEngine.h"
#include "ModelPaths.h"

#include <OgreMaterial.h>
#include <OgreMesh.h>
#include <OgreSkeleton.h>

#include <functional>
#include <vector>

// Converts one SKM model (with its SKA file and the MDF files it names) into a .skeleton, a
// .mesh and a .material. Returns the exit status: 0 when everything was converted, 1 after
// the usage text, an argument error or any failure, each reported on standard output.
int runConversion(int argc, const char* const* argv);

// The engine objects of one model, as its .skeleton, .mesh and .material are written from them.
struct BuiltModel {
    const ModelPaths& paths;
    const Ogre::Skeleton& skeleton;
    const Ogre::Mesh& mesh;
    const std::vector<Ogre::MaterialPtr>& materials; // those converted, in the script's order
};

// What a batch sets for a model beyond Tarnwick's command line.
struct ModelSettings {
    Ogre::MeshVersion meshVersion = Ogre::MESH_VERSION_LATEST; // of the .mesh
    InputsFound inputsFound;
    bool ogreFiles = true; // false: the .skeleton, .mesh and .material are built but not written
    // Another output made from the same objects, called once the materials are converted (also
    // when one of them failed), so that it always agrees with the OGRE files.
    std::function<void(const BuiltModel&)> alsoWrite;
};

// Converts the model the options name on an engine that is already set up, reporting progress,
// warnings and errors to diagnostics; returns 0 when everything was converted, else
// 1. The engine holds none of the model's resources afterwards, so it can convert the next.
int convertModel(const ConversionOptions& options, HeadlessEngine& engine, Diagnostics& diagnostics,
                 const ModelSettings& settings = {});
