#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One model of the library: a .mesh file and the folder that holds its skeleton, materials and
// textures (each folder is shown from a resource group of its own, so that models of one file
// name in different folders each keep theirs).
struct LibraryModel {
    std::string relativePath;     // to the folder given, with '/': "monsters/orc/orc.mesh"
    std::filesystem::path file;   // absolute
    std::filesystem::path folder; // absolute: the file's folder
};

// The models of the command line's paths, sorted by relative path (two given folders that both
// hold "orc/orc.mesh" list theirs in the order the folders were given). A folder is
// searched at any depth; a .mesh file stands for itself, its relative path being its name. A
// file reached twice (a file and its folder both given) is listed once, under the first path
// that reached it.
struct ModelLibrary {
    std::vector<LibraryModel> models;
    // One line per given path that yielded no mesh ("x: holds no .mesh file"): skipped while
    // other paths yield meshes.
    std::vector<std::string> notes;
    // Why nothing can be shown: the first note, when no path yields a mesh. Empty otherwise,
    // and for no paths at all.
    std::string error;
};

// Reads names and file types only, never a file's content, so that a tree of thousands of
// models lists in moments. Folder links are not followed, so a link back up the tree cannot
// loop; unreadable folders are left out.
ModelLibrary listModels(const std::vector<std::string>& paths);

// The relative paths of the models, in the list's order: what the list shows and filters.
std::vector<std::string> relativePaths(const ModelLibrary& library);

// The folders of the models, each once, in the order of the list: one resource group each.
std::vector<std::filesystem::path> modelFolders(const ModelLibrary& library);
