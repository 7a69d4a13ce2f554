#include "PictureFreshness.h"

#include <algorithm>

namespace fs = std::filesystem;

std::vector<fs::path> picturedFiles(const fs::path& meshFile) {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(meshFile.parent_path(), ignored)) {
        const fs::path& path = entry.path();
        const bool skeleton = path.stem() == meshFile.stem() && path.extension() == ".skeleton";
        const bool pictured = path == meshFile || skeleton || path.extension() == ".material";
        if (pictured && entry.is_regular_file(ignored))
            files.push_back(path);
    }
    return files;
}

bool pictureIsUpToDate(const fs::path& picture, const std::vector<fs::path>& files) {
    std::error_code failed;
    const fs::file_time_type drawn = fs::last_write_time(picture, failed);
    if (failed)
        return false;
    return std::all_of(files.begin(), files.end(), [&](const fs::path& file) {
        std::error_code missing;
        const fs::file_time_type changed = fs::last_write_time(file, missing);
        return !missing && changed < drawn;
    });
}
