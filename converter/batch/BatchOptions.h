#pragma once

#include <OgreDataStream.h> // needed first by the serializer header
#include <OgreMeshSerializer.h>

#include <optional>
#include <string>

// The files each model gets: the OGRE files (.skeleton, .mesh, .material and the textures beside
// them), one self-contained binary glTF file (.glb, textures inside), or both.
enum class OutputFormat { ogre, gltf, both };

inline bool writesOgreFiles(OutputFormat format) {
    return format != OutputFormat::gltf;
}

inline bool writesGlb(OutputFormat format) {
    return format != OutputFormat::ogre;
}

// The command line of tarnwick-batch.
struct BatchOptions {
    std::string sourceRoot;
    std::string outputDir;
    std::string dataRoot;   // where the texture paths of MDF files are resolved
    std::string reportFile; // empty: no report
    int jobs = 1;
    double timeoutSeconds = 120;
    Ogre::MeshVersion meshVersion = Ogre::MESH_VERSION_LATEST;
    OutputFormat format = OutputFormat::ogre;
    bool force = false;
    bool quiet = false;
    bool noWait = false; // end at once when another run is using OUTPUT_DIR
};

extern const char* const batchVersion;

// What the command line asks for: a run with its options, or an exit status after the help,
// the version or a usage error has been printed (the error as one line on standard error).
struct ParsedCommandLine {
    std::optional<BatchOptions> options;
    int exitStatus = 0;
};

ParsedCommandLine parseBatchCommandLine(int argc, const char* const* argv);
