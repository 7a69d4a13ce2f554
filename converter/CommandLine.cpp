#include "CommandLine.h"

#include "Diagnostics.h"
#include "ModelPaths.h"
#include "SplitPath.h"

#include <filesystem>
#include <iostream>

void printUsage() {
    std::cout << "\n"
                 "Tarnwick: Convert files data from toee SKM,SKA and MDF formats to Ogre "
                 ".Mesh,.Skeleton,.Material respectively.\n"
                 "Usage: Tarnwick [options] sourcefile [destfile] \n"
                 "Program try to find SKA file with name of SKM and material files in sourcefile "
                 "directory.\n"
                 "-i option for interactive mode\n"
                 "\n";
}

ConversionOptions conversionOptions(const std::string& sourcePath,
                                    const std::optional<std::string>& meshDestination) {
    ConversionOptions options;
    options.sourcePath = sourcePath;
    const PathParts source = splitPath(sourcePath);
    options.sourceDir = source.directory;
    options.sourceName = source.baseName;
    options.sourceExt = source.extension;
    options.destPath = modelPaths(sourcePath, meshDestination).meshFile;
    const PathParts dest = splitPath(options.destPath);
    options.destDir = dest.directory;
    options.destName = dest.baseName;
    options.destExt = dest.extension;
    return options;
}

namespace {

// The mesh takes whatever name is given, but not that of a file the run reads or of another of
// its outputs: the mesh written there would take the place of the model or of its skeleton.
std::string destinationClash(const ConversionOptions& options) {
    if (options.destExt == ".skeleton") {
        return "the skeleton file";
    }
    if (options.destExt == ".material") {
        return "the material file";
    }
    std::error_code notThere;
    if (std::filesystem::equivalent(options.destPath, options.sourcePath, notThere)) {
        return "the source file";
    }
    if (std::filesystem::equivalent(
            options.destPath, modelPaths(options.sourcePath, options.destPath).ska, notThere)) {
        return "the SKA file";
    }
    return "";
}

} // namespace

bool parseCommandLine(ConversionOptions& options, int argc, const char* const* argv) {
    if (argc < 2) {
        printUsage();
        return false;
    }
    int position = 1;
    const bool interactive = std::string(argv[position]) == "-i";
    if (interactive) {
        if (argc == 2) {
            standardOutput().error("Source file missed.", Placement::open);
            return false;
        }
        ++position;
    }
    const std::string sourcePath = argv[position];
    const std::string extension = splitPath(sourcePath).extension;
    if (extension != ".skm" && extension != ".SKM") {
        standardOutput().error("File has wrong extension.", Placement::open);
        return false;
    }
    const bool destinationGiven = position + 1 < argc;
    options = conversionOptions(sourcePath, destinationGiven
                                                ? std::optional<std::string>(argv[position + 1])
                                                : std::nullopt);
    options.interactive = interactive;
    const std::string clash = destinationGiven ? destinationClash(options) : "";
    if (!clash.empty()) {
        standardOutput().error("Destination would overwrite " + clash + ".", Placement::open);
        return false;
    }
    return true;
}
