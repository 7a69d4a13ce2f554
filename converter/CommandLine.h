#pragma once

#include <OgreDataStream.h> // needed first by the serializer header
#include <OgreMeshSerializer.h>

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
    Ogre::MeshVersion meshVersion = Ogre::MESH_VERSION_LATEST; // no option of Tarnwick sets it
};

// Fills the options from the argument vector; false when the run must not go on, after the
// usage text or an argument error has been written to standard output.
bool parseCommandLine(ConversionOptions& options, int argc, const char* const* argv);

void printUsage();

// The SKA file looked for beside the source: same folder and base name.
std::string skaPathOf(const ConversionOptions& options);
