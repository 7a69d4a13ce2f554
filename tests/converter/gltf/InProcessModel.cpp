#include "InProcessModel.h"

#include "MaterialNamer.h"
#include "Resources.h"
#include "mdf/MaterialBuilder.h"
#include "skeleton/SkeletonImport.h"
#include "skm/MeshBuilder.h"

#include <filesystem>
#include <set>
#include <stdexcept>

namespace {

std::string textOfAll(const DiagnosticList& messages) {
    std::string text;
    for (const Diagnostic& entry : messages.entries()) {
        text += entry.text + "\n";
    }
    return text;
}

} // namespace

InProcessModel buildModel(const std::string& folder, const std::string& name) {
    const std::string base = folder + "/" + name;
    DiagnosticList messages;
    InProcessModel model;
    model.skeleton = createManualSkeleton(name + ".skeleton");
    if (!importSkeleton(base + ".skm", base + ".ska", *model.skeleton, messages)) {
        throw std::runtime_error("no skeleton: " + textOfAll(messages));
    }
    model.mesh = createManualMesh(name);
    const std::optional<std::vector<MeshMaterial>> records = importMesh(
        *model.mesh, MaterialNamer(false, messages), base + ".skm", name + ".skeleton", messages);
    if (!records) {
        throw std::runtime_error("no mesh: " + textOfAll(messages));
    }
    std::set<std::string> built;
    for (const MeshMaterial& record : *records) {
        if (built.insert(record.name).second) {
            model.materials.push_back(fetchMaterial(record.name));
            importMaterial(folder + "/" + record.mdfFile, model.materials.back());
        }
    }
    return model;
}

TextureSource texturesIn(const std::string& folder) {
    return [folder](const std::string& name) -> std::optional<std::string> {
        const std::string path = folder + "/" + name;
        return std::filesystem::is_regular_file(path) ? std::optional(path) : std::nullopt;
    };
}
