#include "ResourcePaths.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

const char* const configurationFiles[] = {"plugins.cfg", "ogre.cfg", "resources.cfg"};

bool holdsConfiguration(const fs::path& folder) {
    std::error_code ignored;
    return std::any_of(std::begin(configurationFiles), std::end(configurationFiles),
                       [&](const char* file) { return fs::exists(folder / file, ignored); });
}

fs::path installedDataFolder() {
    std::error_code failed;
    const fs::path programFolder = fs::read_symlink("/proc/self/exe", failed).parent_path();
    if (failed)
        return {};
    for (const fs::path& candidate :
         {programFolder / "data", programFolder / VELMORA_INSTALLED_DATA_FROM_PROGRAM})
        if (holdsConfiguration(candidate))
            return candidate.lexically_normal();
    return {};
}

} // namespace

fs::path configurationFolder() {
    if (holdsConfiguration(fs::current_path()))
        return {};
    return installedDataFolder();
}

std::string locationInConfiguration(const fs::path& configFolder, const std::string& location) {
    if (configFolder.empty() || fs::path(location).is_absolute())
        return location;
    return (configFolder / location).string();
}
