#include "ConversionRun.h"

#include "CommandLine.h"
#include "ExceptionText.h"
#include "HeadlessEngine.h"
#include "MaterialNamer.h"
#include "OutputFile.h"
#include "Resources.h"
#include "mdf/MaterialBuilder.h"
#include "mdf/MaterialScript.h"
#include "mdf/ScriptName.h"
#include "skeleton/SkeletonImport.h"
#include "skm/MeshBuilder.h"

#include <iostream>
#include <optional>
#include <set>

namespace {

constexpr int succeeded = 0;
constexpr int failed = 1;

struct OutputPaths {
    std::string skeletonName; // the skeleton resource, also the name the mesh records
    std::string skeletonFile;
    std::string meshFile;
    std::string materialFile;
};

OutputPaths outputPathsFor(const ConversionOptions& options) {
    const std::string destBase = options.destDir + options.destName;
    return {options.destName + ".skeleton", destBase + ".skeleton", options.destPath,
            destBase + ".material"};
}

bool convertSkeleton(const ConversionOptions& options, const OutputPaths& paths,
                     HeadlessEngine& engine) {
    Ogre::SkeletonPtr skeleton = createManualSkeleton(paths.skeletonName);
    const std::string skaPath = options.sourceDir + options.sourceName + ".ska";
    if (!importSkeleton(options.sourcePath, skaPath, *skeleton, std::cout)) {
        return false;
    }
    writeOutputFile(paths.skeletonFile, [&](const Ogre::DataStreamPtr& stream) {
        engine.skeletonSerializer().exportSkeleton(skeleton.get(), stream);
    });
    // Written, the skeleton is of no further use: the mesh records it by name only, so it is
    // freed before the mesh is built rather than held beside it.
    Ogre::SkeletonManager::getSingleton().remove(skeleton);
    return true;
}

bool convertMesh(const ConversionOptions& options, const OutputPaths& paths,
                 HeadlessEngine& engine) {
    Ogre::MeshPtr mesh = createManualMesh(options.sourceName);
    NamingCallback namingCallback = MaterialNamer(options.interactive);
    if (!importMesh(*mesh, namingCallback, options.sourcePath, paths.skeletonName, std::cout)) {
        std::cout << "Converting Mesh Failed.\n";
        return false;
    }
    writeOutputFile(paths.meshFile, [&](const Ogre::DataStreamPtr& stream) {
        engine.meshSerializer().exportMesh(mesh.get(), stream);
    });
    return true;
}

// Fills one material from its MDF file and adds it to the script. Nothing when it was
// converted; else what follows "Converting file <MDF file> failed" on the console: empty when
// the MDF file cannot be opened, or the reason. What the engine refuses while the material is
// filled fails this material alone.
std::optional<std::string> convertMaterial(const std::string& mdfPath, const std::string& name,
                                           MaterialScript& script) {
    if (!scriptSpelling(name)) {
        return ": no material script can hold the name \"" + printableName(name) +
               "\", so the mesh names no material there";
    }
    try {
        const Ogre::MaterialPtr material = fetchMaterial(name);
        if (!importMaterial(mdfPath, material)) {
            return "";
        }
        script.add(material);
        return std::nullopt;
    } catch (const std::exception& error) {
        return ": " + describeException(error);
    }
}

// Each material name is converted once, however many records share it; the script holds
// every converted material in list order. False when any material failed.
bool convertMaterials(const ConversionOptions& options, const OutputPaths& paths,
                      HeadlessEngine& engine) {
    bool allConverted = true;
    MaterialScript script(engine.materialSerializer());
    std::set<std::string> converted;
    for (std::size_t i = 0; i < materialNames.size(); ++i) {
        if (!converted.insert(materialNames[i]).second) {
            continue;
        }
        const std::optional<std::string> failure =
            convertMaterial(options.sourceDir + materialFiles[i], materialNames[i], script);
        if (failure) {
            std::cout << "Converting file " << printableName(materialFiles[i]) << " failed"
                      << *failure << ".\n";
            allConverted = false;
        }
    }
    if (!script.empty()) {
        writeOutputFile(paths.materialFile, [&](const Ogre::DataStreamPtr& stream) {
            stream->write(script.str().data(), script.str().size());
        });
    }
    return allConverted;
}

int convert(const ConversionOptions& options) {
    HeadlessEngine engine("Tarnwick.log");
    const OutputPaths paths = outputPathsFor(options);
    if (!convertSkeleton(options, paths, engine) || !convertMesh(options, paths, engine)) {
        return failed;
    }
    return convertMaterials(options, paths, engine) ? succeeded : failed;
}

} // namespace

int runConversion(int argc, const char* const* argv) {
    ConversionOptions options;
    if (!parseCommandLine(options, argc, argv)) {
        return failed;
    }
    // Whatever the engine throws ends the run here, after the engine has been torn down.
    try {
        return convert(options);
    } catch (const std::exception& error) {
        std::cout << "\nError: " << describeException(error) << "\n";
    }
    return failed;
}
