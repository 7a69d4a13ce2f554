#include "ModelTree.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool isModelFile(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".skm" || extension == ".SKM";
}

} // namespace

std::vector<std::string> findModels(const std::string& sourceRoot, const std::string& outputDir) {
    std::error_code error;
    const fs::path outputs = fs::weakly_canonical(outputDir, error);
    std::vector<std::string> models;
    fs::recursive_directory_iterator walk(sourceRoot, fs::directory_options::skip_permission_denied,
                                          error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        const fs::directory_entry& entry = *walk;
        std::error_code ignored;
        if (entry.is_directory(ignored) && fs::weakly_canonical(entry.path(), ignored) == outputs) {
            walk.disable_recursion_pending();
        } else if (entry.is_regular_file(ignored) && isModelFile(entry.path())) {
            models.push_back(entry.path().lexically_relative(sourceRoot).generic_string());
        }
    }
    std::sort(models.begin(), models.end());
    return models;
}
