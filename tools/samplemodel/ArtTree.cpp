#include "ArtTree.h"

#include "BenchModel.h"
#include "SampleFigure.h"
#include "ToeeFiles.h"

#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace samplemodel {
namespace {

enum class Kind { figure, smallBench, typicalBench, mediumBench };

struct TreeModel {
    std::string folder; // under art/meshes/
    std::string name;
    Kind kind;
    bool texturesBeside; // else under art/textures/ in a folder of the same path
    bool backslashes;
    bool withSka;
};

const std::vector<TreeModel>& treeModels() {
    static const std::vector<TreeModel> models = {
        {"humans", "figure", Kind::figure, true, false, true},
        {"humans/guard", "guard", Kind::figure, true, true, true},
        {"humans/guard", "captain", Kind::figure, true, true, true},
        {"npc/villagers", "farmer", Kind::figure, true, false, true},
        {"npc/villagers", "smith", Kind::figure, true, true, true},
        {"npc/ghost", "ghost", Kind::figure, true, false, false},
        {"monsters/orc", "orc", Kind::typicalBench, false, true, true},
        {"monsters/orc", "orc_chief", Kind::typicalBench, false, false, true},
        {"monsters/wolf", "wolf", Kind::smallBench, false, true, true},
        {"monsters/giant", "giant", Kind::mediumBench, false, false, true},
        {"items/banner", "banner", Kind::smallBench, true, false, true},
        {"items/chest", "chest", Kind::smallBench, false, true, true},
    };
    return models;
}

SampleModel makeModel(const TreeModel& entry) {
    SampleModel model;
    switch (entry.kind) {
    case Kind::figure:
        model = makeSampleFigure();
        break;
    case Kind::smallBench:
        model = makeBenchModel({entry.name, 400, 8, 6, 20, 2});
        break;
    case Kind::typicalBench:
        model = makeBenchModel(typicalModelSize());
        break;
    case Kind::mediumBench:
        model = makeBenchModel({entry.name, 6000, 80, 40, 30, 4});
        break;
    }
    model.name = entry.name;
    return model;
}

// "art/meshes/orc/skin.tga" as a Windows tool wrote it: "Art/Meshes/Orc/Skin.tga".
std::string asTheGameWroteIt(const std::string& path, bool backslashes) {
    std::string written = path;
    bool componentStart = true;
    for (char& c : written) {
        if (componentStart) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        componentStart = c == '/';
        if (c == '/' && backslashes) {
            c = '\\';
        }
    }
    return written;
}

// The MDF files of the model, each naming its texture by the path from the data root.
void nameTexturesFromRoot(const TreeModel& entry, const std::string& textureFolder,
                          SampleModel& model) {
    for (std::size_t i = 0; i < model.mdfFiles.size(); ++i) {
        const std::string path = textureFolder + "/" + model.textures.at(i).first;
        model.mdfFiles[i].second =
            samplemodel::writeMdf({asTheGameWroteIt(path, entry.backslashes)});
    }
}

void writeFiles(const fs::path& root, const std::string& folder,
                const std::vector<std::pair<std::string, std::string>>& files,
                std::vector<std::string>& written) {
    fs::create_directories(root / folder);
    for (const auto& [name, bytes] : files) {
        samplemodel::writeFile((root / folder / name).string(), bytes);
        written.push_back(folder + "/" + name);
    }
}

} // namespace

std::vector<std::string> writeArtTree(const std::string& root) {
    std::vector<std::string> written;
    for (const TreeModel& entry : treeModels()) {
        SampleModel model = makeModel(entry);
        const std::string folder = "art/meshes/" + entry.folder;
        const std::string textureFolder =
            entry.texturesBeside ? folder : "art/textures/" + entry.folder;
        nameTexturesFromRoot(entry, textureFolder, model);
        std::vector<std::pair<std::string, std::string>> modelFiles = {
            {model.name + ".skm", samplemodel::writeSkm(model.skm)}};
        if (entry.withSka) {
            modelFiles.emplace_back(model.name + ".ska", samplemodel::writeSka(model.ska));
        }
        modelFiles.insert(modelFiles.end(), model.mdfFiles.begin(), model.mdfFiles.end());
        writeFiles(root, folder, modelFiles, written);
        writeFiles(root, textureFolder, model.textures, written);
    }
    return written;
}

} // namespace samplemodel
