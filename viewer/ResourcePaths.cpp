#include "ResourcePaths.h"

#include <algorithm>
#include <map>

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

bool isMeshFile(const fs::path& path) {
    std::error_code ignored;
    return path.extension() == ".mesh" && fs::is_regular_file(path, ignored);
}

std::vector<std::string> meshesInFolder(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code failed;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failed))
        if (isMeshFile(entry.path()))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void addFolder(ModelLocations& models, const fs::path& folder) {
    const std::string name = folder.string();
    if (std::find(models.folders.begin(), models.folders.end(), name) == models.folders.end())
        models.folders.push_back(name);
}

// The engine holds one mesh of a name, so of two files of one name in different folders only
// one could be shown: its name would stand in the list for both. Empty when no name repeats so.
std::string nameTakenElsewhere(std::map<std::string, fs::path>& folderOfName,
                               const std::vector<std::string>& meshNames, const fs::path& folder) {
    for (const std::string& name : meshNames) {
        const fs::path& first = folderOfName.emplace(name, folder).first->second;
        std::error_code ignored;
        if (first != folder && !fs::equivalent(first, folder, ignored))
            return name + " is also in " + first.string() +
                   "; Velmora can show only one mesh of a name";
    }
    return "";
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

ModelLocations findModels(const std::vector<std::string>& paths) {
    ModelLocations models;
    std::map<std::string, fs::path> folderOfName;
    for (const std::string& given : paths) {
        std::error_code failed;
        const fs::path path = fs::absolute(given).lexically_normal();
        std::vector<std::string> meshNames;
        fs::path folder;
        if (fs::is_directory(path, failed)) {
            meshNames = meshesInFolder(path);
            folder = path;
        } else if (isMeshFile(path)) {
            meshNames = {path.filename().string()};
            folder = path.parent_path();
        } else if (!fs::exists(path, failed)) {
            models.error = given + ": no such file or folder";
            return models;
        }
        if (meshNames.empty()) {
            models.error = given + ": holds no .mesh file";
            return models;
        }
        const std::string clash = nameTakenElsewhere(folderOfName, meshNames, folder);
        if (!clash.empty()) {
            models.error = given + ": " + clash;
            return models;
        }
        addFolder(models, folder);
        models.meshNames.insert(models.meshNames.end(), meshNames.begin(), meshNames.end());
    }
    return models;
}
