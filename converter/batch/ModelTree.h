#pragma once

#include <string>
#include <vector>

// The paths, relative to sourceRoot and with '/' separators, of every file ending in ".skm" or
// ".SKM" under it at any depth, in byte order. The output folder is left out when it lies
// inside, so that a run never takes its own outputs as sources; links to folders are not
// followed and unreadable folders are passed over.
std::vector<std::string> findModels(const std::string& sourceRoot, const std::string& outputDir);
