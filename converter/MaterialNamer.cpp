#include "MaterialNamer.h"

#include "SplitPath.h"
#include "mdf/ScriptName.h"

#include <iostream>

std::vector<std::string> materialNames;
std::vector<std::string> materialFiles;

namespace {

// An empty answer, or standard input at its end, keeps the suggestion.
std::string askForName(const std::string& suggestion, std::ostream& console) {
    console << "Suggested name for material: " << suggestion << "\n"
            << "Confirm or enter your own : " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer) || answer.empty()) {
        return suggestion;
    }
    return answer;
}

} // namespace

std::string mdfFileName(const std::string& mdfPath) {
    const PathParts parts = splitPath(mdfPath);
    return parts.baseName + (parts.extension.empty() ? ".mdf" : parts.extension);
}

std::string MaterialNamer::operator()(const std::string& mdfPath) const {
    const PathParts parts = splitPath(mdfPath);
    if (parts.extension.empty()) {
        *console << "Warning: .mdf extension was appended to material name.\n";
    }
    materialFiles.push_back(mdfFileName(mdfPath));

    const std::string name = interactive ? askForName(parts.baseName, *console) : parts.baseName;
    materialNames.push_back(name);
    // The material step reports a name that no script can hold; the mesh names none there
    // rather than one that is never written.
    return scriptSpelling(name) ? name : std::string();
}
