#include "ConversionRun.h"

#include "CommandLine.h"
#include "ExceptionText.h"
#include "HeadlessEngine.h"
#include "MaterialNamer.h"
#include "ModelPaths.h"
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

bool convertSkeleton(const ModelPaths& paths, HeadlessEngine& engine, std::ostream& console) {
    Ogre::SkeletonPtr skeleton = createManualSkeleton(paths.skeletonName);
    if (!importSkeleton(paths.skm, paths.ska, *skeleton, console)) {
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

bool convertMesh(const ConversionOptions& options, const ModelPaths& paths,
                 Ogre::MeshVersion meshVersion, HeadlessEngine& engine, std::ostream& console) {
    Ogre::MeshPtr mesh = createManualMesh(paths.meshName);
    NamingCallback namingCallback = MaterialNamer(options.interactive, console);
    if (!importMesh(*mesh, namingCallback, paths.skm, paths.skeletonName, console)) {
        console << "Converting Mesh Failed.\n";
        return false;
    }
    writeOutputFile(paths.meshFile, [&](const Ogre::DataStreamPtr& stream) {
        engine.meshSerializer().exportMesh(mesh.get(), stream, meshVersion);
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
bool convertMaterials(const ModelPaths& paths, HeadlessEngine& engine, std::ostream& console) {
    bool allConverted = true;
    MaterialScript script(engine.materialSerializer());
    std::set<std::string> converted;
    for (std::size_t i = 0; i < materialNames.size(); ++i) {
        if (!converted.insert(materialNames[i]).second) {
            continue;
        }
        const std::optional<std::string> failure =
            convertMaterial(paths.sourceDir + materialFiles[i], materialNames[i], script);
        if (failure) {
            console << "Converting file " << printableName(materialFiles[i]) << " failed"
                    << *failure << ".\n";
            allConverted = false;
        }
    }
    if (!script.empty()) {
        writeOutputFile(paths.materialScript, [&](const Ogre::DataStreamPtr& stream) {
            stream->write(script.str().data(), script.str().size());
        });
    }
    return allConverted;
}

int convert(const ConversionOptions& options, Ogre::MeshVersion meshVersion, HeadlessEngine& engine,
            std::ostream& console) {
    const ModelPaths paths = modelPaths(options.sourcePath, options.destPath);
    if (!convertSkeleton(paths, engine, console) ||
        !convertMesh(options, paths, meshVersion, engine, console)) {
        return failed;
    }
    return convertMaterials(paths, engine, console) ? succeeded : failed;
}

// Whatever the engine throws ends the conversion here, with one line on the console.
template <typename Conversion>
int reportingErrors(std::ostream& console, const Conversion& conversion) {
    try {
        return conversion();
    } catch (const std::exception& error) {
        console << "\nError: " << describeException(error) << "\n";
    }
    return failed;
}

} // namespace

int convertModel(const ConversionOptions& options, HeadlessEngine& engine, std::ostream& console,
                 Ogre::MeshVersion meshVersion) {
    // The lists and the serializer's queue belong to one model; an engine that converts many
    // starts each one empty and forgets the model's resources after it.
    materialNames.clear();
    materialFiles.clear();
    engine.materialSerializer().clearQueue();
    const int status =
        reportingErrors(console, [&] { return convert(options, meshVersion, engine, console); });
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
