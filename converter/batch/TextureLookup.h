#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// Finds the texture files that MDF files name. The game's paths were written on Windows: '/'
// and '\\' both separate, and the case of a name often differs from the file on disk, so each
// component that has no exact match is matched without regard to (ASCII) case. Folder listings
// are read once per lookup object.
class TextureLookup {
public:
    explicit TextureLookup(std::string dataRoot) : dataRoot(std::move(dataRoot)) {}

    // The texture at its path under the data root, else the file of its name beside the MDF
    // file. A path that is absolute, names a drive or climbs with ".." is only looked for beside
    // the MDF, so that no file outside the data root is ever taken.
    std::optional<std::string> find(const std::string& texturePath, const std::string& mdfFolder);

    // The entry of folder whose name is `name`, or failing that equals it without regard to
    // case (the first such in byte order).
    std::optional<std::string> entryNamed(const std::string& folder, const std::string& name);

    // Every entry of folder whose name equals `name` without regard to case, in byte order.
    std::vector<std::string> entriesInAnyCase(const std::string& folder, const std::string& name);

private:
    std::optional<std::string> findUnder(const std::string& folder,
                                         const std::vector<std::string>& components);
    const std::vector<std::string>& listing(const std::string& folder);

    std::string dataRoot;
    std::map<std::string, std::vector<std::string>> listings;
};
