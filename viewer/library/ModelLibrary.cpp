#include "ModelLibrary.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace fs = std::filesystem;

namespace {

bool isMeshName(const fs::path& path) {
    return path.extension() == ".mesh";
}

// The .mesh files under a folder at any depth, by their directory entries: the entry's type
// comes with the name, so a regular file costs no further call.
void addMeshesUnder(const fs::path& top, std::vector<LibraryModel>& models) {
    std::error_code failed;
    fs::recursive_directory_iterator entry(top, fs::directory_options::skip_permission_denied,
                                           failed);
    for (; !failed && entry != fs::recursive_directory_iterator(); entry.increment(failed)) {
        std::error_code ignored;
        if (isMeshName(entry->path()) && entry->is_regular_file(ignored))
            models.push_back({entry->path().lexically_relative(top).generic_string(), entry->path(),
                              entry->path().parent_path()});
    }
}

// Why a path yields no mesh; empty when it added any.
std::string addModelsOf(const std::string& given, std::vector<LibraryModel>& models) {
    std::error_code failed;
    const fs::path path = fs::absolute(given, failed).lexically_normal();
    const std::size_t before = models.size();
    if (fs::is_directory(path, failed))
        addMeshesUnder(path, models);
    else if (isMeshName(path) && fs::is_regular_file(path, failed))
        models.push_back({path.filename().string(), path, path.parent_path()});
    else if (!fs::exists(path, failed))
        return given + ": no such file or folder";
    return models.size() > before ? "" : given + ": holds no .mesh file";
}

// A file reached from two given paths keeps its first place, which the stable sort then keeps.
void dropFilesReachedTwice(std::vector<LibraryModel>& models) {
    std::set<fs::path> seen;
    models.erase(
        std::remove_if(models.begin(), models.end(),
                       [&](const LibraryModel& model) { return !seen.insert(model.file).second; }),
        models.end());
}

} // namespace

ModelLibrary listModels(const std::vector<std::string>& paths) {
    ModelLibrary library;
    for (const std::string& given : paths) {
        const std::string problem = addModelsOf(given, library.models);
        if (!problem.empty())
            library.notes.push_back(problem);
    }
    dropFilesReachedTwice(library.models);
    std::stable_sort(library.models.begin(), library.models.end(),
                     [](const LibraryModel& a, const LibraryModel& b) {
                         return a.relativePath < b.relativePath;
                     });
    if (library.models.empty() && !library.notes.empty())
        library.error = library.notes.front();
    return library;
}

std::vector<std::string> relativePaths(const ModelLibrary& library) {
    std::vector<std::string> paths;
    paths.reserve(library.models.size());
    for (const LibraryModel& model : library.models)
        paths.push_back(model.relativePath);
    return paths;
}

std::vector<fs::path> modelFolders(const ModelLibrary& library) {
    std::vector<fs::path> folders;
    std::set<fs::path> seen;
    for (const LibraryModel& model : library.models)
        if (seen.insert(model.folder).second)
            folders.push_back(model.folder);
    return folders;
}
