#pragma once

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

// The meshes the command line's paths name and the folders that hold them: a folder gives all
// its .mesh files in the order of their names, a file itself; the file's folder holds its
// skeleton, materials and textures. Folders are absolute and each listed once.
struct ModelLocations {
    std::vector<std::string> folders;
    std::vector<std::string> meshNames;
    std::string error; // why the paths cannot be shown (a path missing or without a mesh)

    bool empty() const { return folders.empty(); }
};

ModelLocations findModels(const std::vector<std::string>& paths);

// Where a viewer takes its configuration and its models from.
struct ViewerSetup {
    std::filesystem::path configFolder; // empty: the working directory
    ModelLocations models;              // empty: the model folders that resources.cfg names
};
