#pragma once

#include "ToeeFiles.h"

#include <string>
#include <utility>
#include <vector>

// A tiny model whose every value is known, so that what the converter writes can be checked
// value by value: three bones (a child before its parent), three materials of which one has
// no faces, three vertices and three faces.
struct SmallModel {
    samplemodel::SkmDesc skm;
    samplemodel::SkaDesc ska;
    std::vector<std::pair<std::string, std::string>> mdfFiles; // file name, text
};

SmallModel makeSmallModel();

// Writes name.skm, name.ska and the MDF files into directory.
void writeSmallModel(const SmallModel& model, const std::string& directory,
                     const std::string& name);
