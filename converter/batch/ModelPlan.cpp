#include "ModelPlan.h"

#include "ByteStream.h"
#include "ModelPaths.h"
#include "SameContent.h"
#include "TextureLookup.h"
#include "mdf/MdfReader.h"
#include "skm/SkmReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// The material paths of the SKM; none when it cannot be read (the conversion says why).
std::vector<std::string> skmMaterialPaths(const std::string& skmPath) {
    std::optional<ByteStream> file = ByteStream::openFile(skmPath);
    if (!file) {
        return {};
    }
    SkmReader reader(std::move(*file), skmPath);
    std::vector<SkmMaterial> materials;
    std::string error;
    reader.readMaterials(materials, error);
    std::vector<std::string> paths;
    for (const SkmMaterial& material : materials) {
        paths.push_back(material.path);
    }
    return paths;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

class Planner {
public:
    explicit Planner(const BatchOptions& options) : options(options), lookup(options.dataRoot) {}

    ModelPlan plan(const std::string& model) {
        ModelPlan plan;
        plan.source = model;
        const fs::path relativeMesh = fs::path(model).replace_extension(".mesh");
        plan.conversion = conversionOptions((fs::path(options.sourceRoot) / model).string(),
                                            (fs::path(options.outputDir) / relativeMesh).string());
        plan.meshVersion = options.meshVersion;
        plan.format = options.format;
        const ModelPaths paths = modelPaths(plan.conversion.sourcePath, plan.conversion.destPath);
        if (writesOgreFiles(plan.format)) {
            plan.outputs = {paths.skeletonFile, paths.meshFile, paths.materialScript};
        }
        if (writesGlb(plan.format)) {
            plan.outputs.push_back(paths.glbFile);
        }
        refuseRepeatedOutputs(plan);
        plan.inputs = {paths.skm, findInput(paths.ska, plan)};
        for (const std::string& materialPath : skmMaterialPaths(paths.skm)) {
            addMaterial(findInput(paths.sourceDir + mdfFileName(materialPath), plan),
                        relativeMesh.parent_path(), plan);
        }
        return plan;
    }

private:
    // x.skm and x.SKM in one folder would write the same files.
    void refuseRepeatedOutputs(ModelPlan& plan) {
        const auto [first, isNew] = modelWriting.emplace(plan.conversion.destPath, plan.source);
        if (!isNew) {
            plan.refusal = "its outputs would replace those of " + first->second;
        }
    }

    // The file named, or failing that the one file of its folder whose name differs only in case,
    // as the game's own system would open it (with a warning); several such fail the model. With
    // none the path stays as named, for the conversion to report.
    std::string findInput(const std::string& path, ModelPlan& plan) {
        const auto known = plan.inputsFound.find(path);
        if (known != plan.inputsFound.end()) {
            return known->second;
        }
        const fs::path named(path);
        const std::string name = named.filename().string();
        const std::vector<std::string> matches =
            lookup.entriesInAnyCase(named.parent_path().string(), name);
        if (matches.empty() || std::find(matches.begin(), matches.end(), name) != matches.end()) {
            return path;
        }
        if (matches.size() > 1) {
            if (plan.refusal.empty()) {
                plan.refusal = name + " is not there, and several files differ from it only in " +
                               "case: " + joined(matches);
            }
            return path;
        }
        const std::string found = (named.parent_path() / matches.front()).string();
        plan.inputsFound[path] = found;
        plan.warnings.push_back(name + " is not there; " + matches.front() +
                                ", whose name differs from it only in case, is read instead");
        return found;
    }

    void addMaterial(const std::string& mdfPath, const fs::path& outputFolder, ModelPlan& plan) {
        plan.inputs.push_back(mdfPath);
        const std::string mdfFolder = fs::path(mdfPath).parent_path().string();
        for (const std::string& texturePath : texturePathsOf(mdfPath)) {
            const std::optional<std::string> found = lookup.find(texturePath, mdfFolder);
            if (!found) {
                plan.texturesMissing.push_back(texturePath);
                continue;
            }
            plan.inputs.push_back(*found);
            plan.textureFiles.emplace(scriptTextureName(texturePath), *found);
            if (!writesOgreFiles(plan.format)) {
                continue;
            }
            const fs::path relative = outputFolder / scriptTextureName(texturePath);
            placeTexture({*found, (fs::path(options.outputDir) / relative).string(),
                          relative.generic_string()},
                         plan);
        }
    }

    void placeTexture(const TextureCopy& copy, ModelPlan& plan) {
        const auto [claim, isNew] = textureOwners.emplace(copy.destination, copy.source);
        if (isNew || sameContent(claim->second, copy.source)) {
            plan.textures.push_back(copy);
        } else {
            plan.warnings.push_back("texture " + copy.relativeDestination + ": " + copy.source +
                                    " differs from " + claim->second +
                                    ", which another model placed there first; that one stays");
        }
    }

    const std::vector<std::string>& texturePathsOf(const std::string& mdfPath) {
        const auto known = mdfTextures.find(mdfPath);
        if (known != mdfTextures.end()) {
            return known->second;
        }
        std::ifstream mdf(mdfPath);
        return mdfTextures[mdfPath] = readMdfTexturePaths(mdf);
    }

    const BatchOptions& options;
    TextureLookup lookup;
    std::map<std::string, std::vector<std::string>> mdfTextures;
    std::map<std::string, std::string> textureOwners; // copy destination → source file
    std::map<std::string, std::string> modelWriting;  // mesh file → model
};

} // namespace

std::vector<ModelPlan> planModels(const BatchOptions& options,
                                  const std::vector<std::string>& models) {
    Planner planner(options);
    std::vector<ModelPlan> plans;
    for (const std::string& model : models) {
        plans.push_back(planner.plan(model));
    }
    return plans;
}
