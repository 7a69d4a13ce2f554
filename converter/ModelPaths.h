#pragma once

#include <map>
#include <optional>
#include <string>

// The names of every file one model's conversion reads and writes. The inputs lie beside the
// SKM; the outputs other than the mesh take the mesh destination's folder and base name with an
// extension of their own, whatever extension the destination has.
struct ModelPaths {
    std::string skm;
    std::string ska;
    std::string sourceDir; // where the MDF files are looked for, with its trailing separator
    std::string meshName;  // the mesh resource: the SKM's base name
    std::string skeletonFile;
    std::string skeletonName; // the skeleton resource, also the name the mesh records
    std::string meshFile;
    std::string materialScript;
    std::string glbFile; // the whole model in one binary glTF file, written by batches alone
};

// The inputs (SKA and MDF files) read from another file than the one the model names: the path
// named → the path read.
using InputsFound = std::map<std::string, std::string>;

// Without a mesh destination the mesh goes beside the SKM, named after it.
ModelPaths modelPaths(const std::string& skmPath,
                      const std::optional<std::string>& meshDestination = std::nullopt);

// The MDF file that an SKM material record names by path, as it is looked for in sourceDir: the
// path's base name and extension, ".mdf" when it has none.
std::string mdfFileName(const std::string& recordPath);

// The name a material script gives a texture that an MDF file names by path: its file name,
// without the folder the game kept it in.
std::string scriptTextureName(const std::string& texturePath);
