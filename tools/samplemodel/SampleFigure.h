#pragma once
// A rigged, animated humanoid built from code, with everything the converter reads beside
// it: the SKM, the SKA, the MDF files its materials name and the textures they name.

#include "ToeeFiles.h"

#include <string>
#include <utility>
#include <vector>

struct SampleModel {
    std::string name;
    samplemodel::SkmDesc skm;
    samplemodel::SkaDesc ska;
    std::vector<std::pair<std::string, std::string>> mdfFiles; // file name, text
    std::vector<std::pair<std::string, std::string>> textures; // file name, bytes
};

// "figure": about 180 units tall along +Y, feet at y = 0, facing +Z, with the animations
// "idle", "walk" and "wave".
SampleModel makeSampleFigure();

// Every file of the model, by file name: <name>.skm, <name>.ska, the MDF files, the textures.
std::vector<std::pair<std::string, std::string>> sampleModelFiles(const SampleModel& model);

// Writes the files of `sampleModelFiles` into an existing directory; throws
// std::runtime_error naming the file that could not be written.
void writeSampleModel(const SampleModel& model, const std::string& directory);
