#include "CommandLine.h"

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

std::string skaPathOf(const ConversionOptions& options) {
    return options.sourceDir + options.sourceName + ".ska";
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
    if (std::filesystem::equivalent(options.destPath, skaPathOf(options), notThere)) {
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
    if (std::string(argv[position]) == "-i") {
        if (argc == 2) {
            std::cout << "Source file missed." << std::flush;
            return false;
        }
        options.interactive = true;
        ++position;
    }

    options.sourcePath = argv[position];
    const PathParts source = splitPath(options.sourcePath);
    options.sourceDir = source.directory;
    options.sourceName = source.baseName;
    options.sourceExt = source.extension;
    if (options.sourceExt != ".skm" && options.sourceExt != ".SKM") {
        std::cout << "File has wrong extension." << std::flush;
        return false;
    }

    if (position + 1 >= argc) {
        options.destDir = options.sourceDir;
        options.destName = options.sourceName;
        options.destExt = ".mesh";
        options.destPath = options.destDir + options.destName + options.destExt;
        return true;
    }
    options.destPath = argv[position + 1];
    const PathParts dest = splitPath(options.destPath);
    options.destDir = dest.directory;
    options.destName = dest.baseName;
    options.destExt = dest.extension;
    const std::string clash = destinationClash(options);
    if (!clash.empty()) {
        std::cout << "Destination would overwrite " << clash << "." << std::flush;
        return false;
    }
    return true;
}
