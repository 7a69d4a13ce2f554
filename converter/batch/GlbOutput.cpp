#include "GlbOutput.h"

#include "GlbWriter.h"
#include "OutputFile.h"

#include <algorithm>
#include <filesystem>

namespace {

TextureSource texturesFound(const ModelPlan& plan) {
    return [&plan](const std::string& name) -> std::optional<std::string> {
        const auto found = plan.textureFiles.find(name);
        return found == plan.textureFiles.end() ? std::nullopt : std::optional(found->second);
    };
}

// A texture the plan found no file for is listed already, by the path its MDF file gives.
bool listedMissing(const ModelPlan& plan, const std::string& name) {
    return std::any_of(plan.texturesMissing.begin(), plan.texturesMissing.end(),
                       [&](const std::string& path) { return scriptTextureName(path) == name; });
}

} // namespace

std::vector<std::string> writeModelGlb(const BuiltModel& model, const ModelPlan& plan,
                                       Diagnostics& diagnostics) {
    const GlbResult glb =
        writeGlb(model.mesh, model.skeleton, model.materials, texturesFound(plan));
    writeOutputFile(model.paths.glbFile, [&](const Ogre::DataStreamPtr& stream) {
        glb.write([&stream](const char* bytes, std::size_t size) { stream->write(bytes, size); });
    });
    const std::string fileName = std::filesystem::path(model.paths.glbFile).filename().string();
    for (const std::string& warning : glb.warnings) {
        diagnostics.warning(fileName + ": " + warning, Placement::unshown);
    }
    std::vector<std::string> missing;
    std::copy_if(glb.missingTextures.begin(), glb.missingTextures.end(),
                 std::back_inserter(missing),
                 [&](const std::string& name) { return !listedMissing(plan, name); });
    return missing;
}
