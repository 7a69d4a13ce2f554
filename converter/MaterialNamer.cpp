#include "MaterialNamer.h"

#include "SplitPath.h"

#include <iostream>

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

std::string MaterialNamer::operator()(const std::string& mdfPath) const {
    const PathParts parts = splitPath(mdfPath);
    if (parts.extension.empty()) {
        diagnostics->warning("Warning: .mdf extension was appended to material name.");
    }
    return interactive ? askForName(parts.baseName, *prompts) : parts.baseName;
}
