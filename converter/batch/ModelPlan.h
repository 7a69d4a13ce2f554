#pragma once

#include "BatchOptions.h"
#include "CommandLine.h"
#include "ModelPaths.h"

#include <map>
#include <string>
#include <vector>

// A texture file found for a material, and where its copy lands beside the material script.
struct TextureCopy {
    std::string source;
    std::string destination;
    std::string relativeDestination; // relative to the output folder
};

// Everything known about one model before it is converted: what Tarnwick would read and
// write for it, and the textures its materials name.
struct ModelPlan {
    std::string source; // relative to the source root, '/' separators
    ConversionOptions conversion;
    Ogre::MeshVersion meshVersion = Ogre::MESH_VERSION_LATEST;
    OutputFormat format = OutputFormat::ogre;
    std::vector<std::string> inputs;   // the SKM, its SKA, its MDF files, its textures found
    std::vector<std::string> outputs;  // skeleton, mesh and material script; the .glb
    std::vector<TextureCopy> textures; // none when the OGRE files are not written
    // Each texture found, under the name the materials give it (its file name); the first file
    // found for a name.
    std::map<std::string, std::string> textureFiles;
    std::vector<std::string> texturesMissing; // as the MDF files name them
    InputsFound inputsFound; // SKA and MDF files found under a name in another case
    std::vector<std::string> warnings;
    std::string refusal; // why the model is not converted at all; empty when it is
};

// One plan per model path (relative to the source root), in the same order. A texture name
// that two different files would take in one output folder goes to the first model that names
// it; each later one gets a warning naming both files.
std::vector<ModelPlan> planModels(const BatchOptions& options,
                                  const std::vector<std::string>& models);
