#pragma once

#include <string>

// A path taken apart into directory (with its trailing separator), base name and extension
// (with its dot); directory + baseName + extension is always the path again.
struct PathParts {
    std::string directory;
    std::string baseName;
    std::string extension;
};

// Both '/' and '\\' separate directories, whichever system the path was written on.
PathParts splitPath(const std::string& path);
