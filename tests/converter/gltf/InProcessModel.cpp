#include "InProcessModel.h"

#include "MaterialNamer.h"
#include "Resources.h"
#include "mdf/MaterialBuilder.h"
#include "skeleton/SkeletonImport.h"
#include "skm/MeshBuilder.h"

#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>

InProcessModel buildModel(const std::string& folder, const std::string& name) {
    const std::string base = folder + "/" + name;
    std::ostringstream messages;
    InProcessModel model;
    model.skeleton = createManualSkeleton(name + ".skeleton");
    if (!importSkeleton(base + ".skm", base + ".ska", *model.skeleton, messages)) {
        throw std::runtime_error("no skeleton: " + messages.str());
    }
    materialNames.clear();
    materialFiles.clear();
    model.mesh = createManualMesh(name);
    NamingCallback naming = MaterialNamer(false, messages);
    if (!importMesh(*model.mesh, naming, base + ".skm", name + ".skeleton", messages)) {
        throw std::runtime_error("no mesh: " + messages.str());
    }
    std::set<std::string> built;
    for (std::size_t i = 0; i < materialNames.size(); ++i) {
        if (built.insert(materialNames[i]).second) {
            model.materials.push_back(fetchMaterial(materialNames[i]));
            importMaterial(folder + "/" + materialFiles[i], model.materials.back());
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
