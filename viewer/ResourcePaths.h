#pragma once

#include "ModelLibrary.h"

#include <filesystem>
#include <string>
#include <vector>

// The folder the configuration files plugins.cfg, ogre.cfg and resources.cfg are read from: the
// working directory when it holds any of them, else the installed data folder (beside the
// program in a build, share/velmora in an installation) when that exists. An empty path stands
// for the working directory.
std::filesystem::path configurationFolder();

// A location named in resources.cfg, which is relative to the folder that file came from.
std::string locationInConfiguration(const std::filesystem::path& configFolder,
                                    const std::string& location);

// Where a viewer takes its configuration and its models from.
struct ViewerSetup {
    std::filesystem::path configFolder; // empty: the working directory
    std::vector<std::string> paths;     // as given; none: the model folders of resources.cfg
    ModelLibrary library;               // the models of `paths`
    unsigned int windowWidth = 0;       // 0: the size ogre.cfg gives
    unsigned int windowHeight = 0;
};
