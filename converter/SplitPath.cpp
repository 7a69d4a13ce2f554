#include "SplitPath.h"

PathParts splitPath(const std::string& path) {
    const std::size_t lastSeparator = path.find_last_of("/\\");
    const std::size_t fileStart = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < fileStart) {
        dot = path.size();
    }
    return {path.substr(0, fileStart), path.substr(fileStart, dot - fileStart), path.substr(dot)};
}
