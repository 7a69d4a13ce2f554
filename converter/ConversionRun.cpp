#include "ConversionRun.h"

#include "CommandLine.h"
#include "HeadlessEngine.h"
#include "MaterialNamer.h"
#include "OutputFile.h"
#include "Resources.h"
#include "mdf/MaterialBuilder.h"
#include "skeleton/SkeletonImport.h"
#include "skm/MeshBuilder.h"

#include <OgreException.h>

#include <iostream>
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
                     HeadlessEngine& engine, std::ostream& console) {
    Ogre::SkeletonPtr skeleton = createManualSkeleton(paths.skeletonName);
    const std::string skaPath = options.sourceDir + options.sourceName + ".ska";
    if (!importSkeleton(options.sourcePath, skaPath, *skeleton, console)) {
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

bool convertMesh(const ConversionOptions& options, const OutputPaths& paths, HeadlessEngine& engine,
                 std::ostream& console) {
    Ogre::MeshPtr mesh = createManualMesh(options.sourceName);
    NamingCallback namingCallback = MaterialNamer(options.interactive, console);
    if (!importMesh(*mesh, namingCallback, options.sourcePath, paths.skeletonName, console)) {
        console << "Converting Mesh Failed.\n";
        return false;
    }
    writeOutputFile(paths.meshFile, [&](const Ogre::DataStreamPtr& stream) {
        engine.meshSerializer().exportMesh(mesh.get(), stream, options.meshVersion);
    });
    return true;
}

// Each material name is converted once, however many records share it; the script holds
// every converted material in list order. False when a material's MDF file cannot be opened.
bool convertMaterials(const ConversionOptions& options, const OutputPaths& paths,
                      HeadlessEngine& engine, std::ostream& console) {
    bool allConverted = true;
    bool anyMaterialConverted = false;
    std::set<std::string> converted;
    for (std::size_t i = 0; i < materialNames.size(); ++i) {
        if (!converted.insert(materialNames[i]).second) {
            continue;
        }
        const Ogre::MaterialPtr material = fetchMaterial(materialNames[i]);
        if (importMaterial(options.sourceDir + materialFiles[i], material)) {
            engine.materialSerializer().queueForExport(material, false, false);
            anyMaterialConverted = true;
        } else {
            console << "Converting file " << materialFiles[i] << " failed.\n";
            allConverted = false;
        }
    }
    if (anyMaterialConverted) {
        const std::string script = engine.materialSerializer().getQueuedAsString();
        writeOutputFile(paths.materialFile, [&](const Ogre::DataStreamPtr& stream) {
            stream->write(script.data(), script.size());
        });
    }
    return allConverted;
}

int convert(const ConversionOptions& options, HeadlessEngine& engine, std::ostream& console) {
    const OutputPaths paths = outputPathsFor(options);
    if (!convertSkeleton(options, paths, engine, console) ||
        !convertMesh(options, paths, engine, console)) {
        return failed;
    }
    return convertMaterials(options, paths, engine, console) ? succeeded : failed;
}

// Whatever the engine throws ends the conversion here, with one line on the console.
template <typename Conversion>
int reportingErrors(std::ostream& console, const Conversion& conversion) {
    try {
        return conversion();
    } catch (const Ogre::Exception& error) {
        console << "\nError: " << error.getDescription() << "\n";
    } catch (const std::exception& error) {
        console << "\nError: " << error.what() << "\n";
    }
    return failed;
}

} // namespace

int convertModel(const ConversionOptions& options, HeadlessEngine& engine, std::ostream& console) {
    // The lists and the serializer's queue belong to one model; an engine that converts many
    // starts each one empty and forgets the model's resources after it.
    materialNames.clear();
    materialFiles.clear();
    engine.materialSerializer().clearQueue();
    const int status = reportingErrors(console, [&] { return convert(options, engine, console); });
    engine.releaseResources();
    return status;
}

int runConversion(int argc, const char* const* argv) {
    ConversionOptions options;
    if (!parseCommandLine(options, argc, argv)) {
        return failed;
    }
    return reportingErrors(std::cout, [&] {
        HeadlessEngine engine("Tarnwick.log");
        return convertModel(options, engine, std::cout);
    });
}
