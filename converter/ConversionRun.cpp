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

#include <optional>
#include <set>

namespace {

constexpr int succeeded = 0;
constexpr int failed = 1;

std::string pathRead(const InputsFound& inputsFound, const std::string& named) {
    const auto found = inputsFound.find(named);
    return found == inputsFound.end() ? named : found->second;
}

// The skeleton built, written when the settings want OGRE files; nothing when it could not be
// converted.
Ogre::SkeletonPtr convertSkeleton(const ModelPaths& paths, const ModelSettings& settings,
                                  HeadlessEngine& engine, Diagnostics& diagnostics) {
    Ogre::SkeletonPtr skeleton = createManualSkeleton(paths.skeletonName);
    if (!importSkeleton(paths.skm, paths.ska, *skeleton, diagnostics)) {
        return nullptr;
    }
    if (settings.ogreFiles) {
        writeOutputFile(paths.skeletonFile, [&](const Ogre::DataStreamPtr& stream) {
            engine.skeletonSerializer().exportSkeleton(skeleton.get(), stream);
        });
    }
    return skeleton;
}

// The mesh's material records; nothing when the mesh could not be converted.
std::optional<std::vector<MeshMaterial>>
convertMesh(Ogre::Mesh& mesh, const ConversionOptions& options, const ModelPaths& paths,
            const ModelSettings& settings, HeadlessEngine& engine, Diagnostics& diagnostics) {
    std::optional<std::vector<MeshMaterial>> materials =
        importMesh(mesh, MaterialNamer(options.interactive, diagnostics), paths.skm,
                   paths.skeletonName, diagnostics);
    if (!materials) {
        diagnostics.error("Converting Mesh Failed.");
        return std::nullopt;
    }
    if (settings.ogreFiles) {
        writeOutputFile(paths.meshFile, [&](const Ogre::DataStreamPtr& stream) {
            engine.meshSerializer().exportMesh(&mesh, stream, settings.meshVersion);
        });
    }
    return materials;
}

// Fills one material from its MDF file and adds it to the script. Nothing when it was
// converted; else what follows "Converting file <MDF file> failed" in its error: empty when
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

struct ConvertedMaterials {
    std::vector<Ogre::MaterialPtr> converted; // in the script's order
    bool allConverted = true;
};

// Each material name is converted once, however many records share it; the script holds
// every converted material in list order.
ConvertedMaterials convertMaterials(const std::vector<MeshMaterial>& materials,
                                    const ModelPaths& paths, const ModelSettings& settings,
                                    HeadlessEngine& engine, Diagnostics& diagnostics) {
    ConvertedMaterials result;
    MaterialScript script(engine.materialSerializer());
    std::set<std::string> converted;
    for (const MeshMaterial& material : materials) {
        if (!converted.insert(material.name).second) {
            continue;
        }
        const std::optional<std::string> failure =
            convertMaterial(pathRead(settings.inputsFound, paths.sourceDir + material.mdfFile),
                            material.name, script);
        if (failure) {
            diagnostics.error("Converting file " + printableName(material.mdfFile) + " failed" +
                              *failure + ".");
            result.allConverted = false;
        } else {
            result.converted.push_back(fetchMaterial(material.name));
        }
    }
    if (settings.ogreFiles && !script.empty()) {
        writeOutputFile(paths.materialScript, [&](const Ogre::DataStreamPtr& stream) {
            stream->write(script.str().data(), script.str().size());
        });
    }
    return result;
}

int convert(const ConversionOptions& options, const ModelSettings& settings, HeadlessEngine& engine,
            Diagnostics& diagnostics) {
    ModelPaths paths = modelPaths(options.sourcePath, options.destPath);
    paths.ska = pathRead(settings.inputsFound, paths.ska);
    const Ogre::SkeletonPtr skeleton = convertSkeleton(paths, settings, engine, diagnostics);
    if (!skeleton) {
        return failed;
    }
    if (!settings.alsoWrite) {
        // Written, the skeleton is of no further use: the mesh records it by name only, so it
        // is freed before the mesh is built rather than held beside it.
        Ogre::SkeletonManager::getSingleton().remove(skeleton);
    }
    const Ogre::MeshPtr mesh = createManualMesh(paths.meshName);
    const std::optional<std::vector<MeshMaterial>> materials =
        convertMesh(*mesh, options, paths, settings, engine, diagnostics);
    if (!materials) {
        return failed;
    }
    const ConvertedMaterials converted =
        convertMaterials(*materials, paths, settings, engine, diagnostics);
    if (settings.alsoWrite) {
        settings.alsoWrite({paths, *skeleton, *mesh, converted.converted});
    }
    return converted.allConverted ? succeeded : failed;
}

// Whatever the engine throws ends the conversion here, with one error.
template <typename Conversion>
int reportingErrors(Diagnostics& diagnostics, const Conversion& conversion) {
    try {
        return conversion();
    } catch (const std::exception& error) {
        diagnostics.error("Error: " + describeException(error), Placement::freshLine);
    }
    return failed;
}

} // namespace

int convertModel(const ConversionOptions& options, HeadlessEngine& engine, Diagnostics& diagnostics,
                 const ModelSettings& settings) {
    // The serializer's queue belongs to one model; an engine that converts many starts each one
    // empty and forgets the model's resources after it.
    engine.materialSerializer().clearQueue();
    const int status = reportingErrors(
        diagnostics, [&] { return convert(options, settings, engine, diagnostics); });
    engine.releaseResources();
    return status;
}

int runConversion(int argc, const char* const* argv) {
    ConversionOptions options;
    if (!parseCommandLine(options, argc, argv)) {
        return failed;
    }
    Diagnostics& console = standardOutput();
    return reportingErrors(console, [&] {
        HeadlessEngine engine("Tarnwick.log");
        if (engine.logFailure()) {
            console.warning(*engine.logFailure());
        }
        return convertModel(options, engine, console);
    });
}
