#pragma once

#include <filesystem>
#include <vector>

// The files a model's picture is drawn from, by name alone: the mesh, the skeleton of its base
// name beside it (as the converter writes them), and every material script in its folder, since
// the mesh's materials may be defined in any of them. Only those that exist.
std::vector<std::filesystem::path> picturedFiles(const std::filesystem::path& meshFile);

// True when the picture exists and was modified after every one of the files, so drawing it
// again would give the same picture. A file of the same time counts as newer: the clock's
// granularity could hide a change made just after the picture was written.
bool pictureIsUpToDate(const std::filesystem::path& picture,
                       const std::vector<std::filesystem::path>& files);
