#pragma once

#include <optional>
#include <string>

// Run options of one conversion, filled once from the command line.
struct ConversionOptions {
    std::string sourceName;
    std::string sourceExt;
    std::string destDir;
    std::string destName;
    std::string destExt;
    std::string sourceDir;
    std::string sourcePath;
    std::string destPath;
    bool interactive = false;
};

// The options of converting sourcePath into meshDestination (without one, the mesh goes beside
// the source), taken apart as the command line takes them, without its checks.
ConversionOptions conversionOptions(const std::string& sourcePath,
                                    const std::optional<std::string>& meshDestination);

// Fills the options from the argument vector; false when the run must not go on, after the
// usage text or an argument error has been written to standard output.
bool parseCommandLine(ConversionOptions& options, int argc, const char* const* argv);

void printUsage();
