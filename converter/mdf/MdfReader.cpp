#include "MdfReader.h"

#include "../ModelPaths.h"

namespace {

bool isTextureLine(const std::string& line) {
    return line.compare(0, 7, "Texture") == 0 && line.compare(0, 8, "Textured") != 0;
}

// The text between the line's first two double quotes; false when it has fewer than two.
bool quotedPath(const std::string& line, std::string& path) {
    const std::size_t open = line.find('"');
    if (open == std::string::npos) {
        return false;
    }
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string::npos) {
        return false;
    }
    path = line.substr(open + 1, close - open - 1);
    return true;
}

} // namespace

std::vector<std::string> readMdfTexturePaths(std::istream& mdf) {
    std::vector<std::string> paths;
    std::string line;
    std::string path;
    while (std::getline(mdf, line)) {
        if (isTextureLine(line) && quotedPath(line, path)) {
            paths.push_back(path);
        }
    }
    return paths;
}

std::vector<std::string> readMdfTextureNames(std::istream& mdf) {
    std::vector<std::string> names;
    for (const std::string& path : readMdfTexturePaths(mdf)) {
        names.push_back(scriptTextureName(path));
    }
    return names;
}
