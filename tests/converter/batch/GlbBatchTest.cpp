// tarnwick-batch --format gltf and both on the sample-model writer's art tree: the .glb beside
// the OGRE files, made of the same objects, and the OGRE files as they were.
#include "ArtTree.h"
#include "BatchProcess.h"
#include "GlbReader.h"
#include "InProcessModel.h"
#include "skm/SkmRecords.h"
#include "support/ReadBack.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

namespace {

namespace fs = std::filesystem;

class GlbBatchTest : public testing::Test {
protected:
    void SetUp() override { samplemodel::writeArtTree(work / "tree"); }

    ConverterRun convert(const std::string& format, const std::string& out) {
        return runBatchTool(work.path(),
                            {"--format", format, "--report", "report.json", "tree", out});
    }

    // Model → its entry in the report.
    std::map<std::string, nlohmann::json> reportedModels() const {
        std::map<std::string, nlohmann::json> byModel;
        const nlohmann::json report = nlohmann::json::parse(readFileText(work / "report.json"));
        for (const nlohmann::json& model : report["models"]) {
            byModel[model["source"].get<std::string>()] = model;
        }
        return byModel;
    }

    std::vector<std::string> withStatus(const std::string& status) const {
        std::vector<std::string> models;
        for (const auto& [source, model] : reportedModels()) {
            if (model["status"] == status) {
                models.push_back(source);
            }
        }
        return models;
    }

    // The files of an output folder, relative to it, without the run's own (lock and stamps).
    std::vector<std::string> outputFiles(const std::string& out) const {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(work / out)) {
            const std::string relative = entry.path().lexically_relative(work / out).string();
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                files.push_back(relative);
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    TemporaryDirectory work;
};

std::string glbOf(const std::string& source) {
    return fs::path(source).replace_extension(".glb").string();
}

// The materials as the script holds them, one after another.
std::vector<Ogre::MaterialPtr> inScriptOrder(std::vector<Ogre::MaterialPtr> materials,
                                             const std::string& script) {
    const auto place = [&](const Ogre::MaterialPtr& material) {
        return script.find("material " + material->getName() + "\n");
    };
    std::sort(materials.begin(), materials.end(),
              [&](const auto& a, const auto& b) { return place(a) < place(b); });
    return materials;
}

// The .glb of the .mesh, .skeleton and .material read back, with the textures beside them.
GlbResult glbOfOgreFiles(ReadBack& readBack, const std::string& base) {
    const std::string script = readFileText(base + ".material");
    const std::vector<Ogre::MaterialPtr> materials =
        inScriptOrder(readBack.compiledMaterials(script), script);
    const Ogre::MeshPtr mesh =
        readBack.mesh(base + ".mesh", readBack.meshMaterialNames(base + ".mesh"));
    const Ogre::SkeletonPtr skeleton = readBack.skeleton(base + ".skeleton");
    return writeGlb(*mesh, *skeleton, materials, texturesIn(fs::path(base).parent_path().string()));
}

// The mesh, its node and the skin are named after the engine's resources, which the files read
// back do not share.
nlohmann::json withoutResourceNames(nlohmann::json json) {
    for (nlohmann::json& node : json["nodes"]) {
        if (node.contains("mesh")) {
            node.erase("name");
        }
    }
    json["meshes"][0].erase("name");
    json["skins"][0].erase("name");
    return json;
}

TEST_F(GlbBatchTest, BothKeepsTheOgreFilesAndAddsAGlbOfWhatTheyHold) {
    ASSERT_EQ(convert("ogre", "ogre").exitStatus, 1);
    const std::map<std::string, nlohmann::json> ogreModels = reportedModels();
    ASSERT_EQ(convert("both", "both").exitStatus, 1);
    const std::map<std::string, nlohmann::json> bothModels = reportedModels();

    std::vector<std::string> ogreFiles = outputFiles("ogre");
    for (const std::string& file : ogreFiles) {
        EXPECT_EQ(readFileText(work / "both/" + file), readFileText(work / "ogre/" + file)) << file;
    }
    ASSERT_EQ(bothModels.size(), 12U);
    ReadBack readBack(work / "readback.log");
    for (auto [source, model] : bothModels) {
        nlohmann::json ogreModel = ogreModels.at(source);
        model.erase("seconds");
        ogreModel.erase("seconds");
        if (model["status"] == "failed") {
            EXPECT_EQ(model, ogreModel);
            continue;
        }
        ASSERT_EQ(model["outputs"].back(), glbOf(source));
        ogreFiles.push_back(glbOf(source));
        model["outputs"].erase(model["outputs"].size() - 1);
        EXPECT_EQ(model, ogreModel) << "but for the .glb, as with --format ogre";

        const std::string base = (work / "both" / fs::path(source).replace_extension()).string();
        const Glb written = parseGlb(readFileText(base + ".glb"));
        const Glb fromOgreFiles = parseGlb(glbOfOgreFiles(readBack, base).bytes());
        EXPECT_EQ(nlohmann::json::diff(withoutResourceNames(written.json),
                                       withoutResourceNames(fromOgreFiles.json)),
                  nlohmann::json::array())
            << source;
        EXPECT_TRUE(written.bin == fromOgreFiles.bin) << source;
    }
    std::sort(ogreFiles.begin(), ogreFiles.end());
    EXPECT_EQ(outputFiles("both"), ogreFiles) << "nothing more than the .glb files";
}

TEST_F(GlbBatchTest, SwitchingTheFormatConvertsAgain) {
    convert("gltf", "out");
    const std::vector<std::string> models = withStatus("converted");
    ASSERT_EQ(models.size(), 11U);
    for (const std::string& source : models) {
        EXPECT_EQ(reportedModels().at(source)["outputs"], std::vector<std::string>{glbOf(source)});
    }
    const std::vector<std::string> files = outputFiles("out");
    EXPECT_EQ(files.size(), 11U) << "the .glb needs nothing beside it";
    for (const std::string& file : files) {
        EXPECT_EQ(fs::path(file).extension(), ".glb") << file;
    }

    runBatchTool(work.path(), {"--format", "gltf", "--mesh-version", "1.8", "--report",
                               "report.json", "tree", "out"});
    EXPECT_EQ(withStatus("skipped"), models) << "no .mesh, so its version changes nothing";
    for (const char* format : {"both", "ogre", "gltf"}) {
        convert(format, "out");
        EXPECT_EQ(withStatus("converted"), models) << format;
        convert(format, "out");
        EXPECT_EQ(withStatus("skipped"), models) << format;
    }
    fs::remove(work / ("out/" + glbOf(models[0])));
    convert("gltf", "out");
    EXPECT_EQ(withStatus("converted"), std::vector<std::string>{models[0]});
}

// Vertices that lose their bone weights: the first `count` of an SKM file's vertex table.
void unweightFirstVertices(const fs::path& skm, std::size_t count) {
    std::string bytes = readFileText(skm.string());
    uint32_t vertices = 0;
    bytes.copy(reinterpret_cast<char*>(&vertices), 4, skmHeaderField::vertexOffset);
    for (std::size_t vertex = 0; vertex < count; ++vertex) {
        bytes.replace(vertices + vertex * skmVertexSize + skmVertexField::weightCount, 2, 2, '\0');
    }
    std::ofstream(skm, std::ios::binary) << bytes;
}

// The wolf's first two vertices lose their weights; one of the orc's textures is not there.
TEST_F(GlbBatchTest, TheWritersWarningsAndUnfoundTexturesReachTheReport) {
    unweightFirstVertices(work / "tree/art/meshes/monsters/wolf/wolf.skm", 2);
    fs::remove(work / "tree/art/textures/monsters/orc/material2.tga");

    convert("both", "out");
    const std::map<std::string, nlohmann::json> models = reportedModels();
    const nlohmann::json& wolfModel = models.at("art/meshes/monsters/wolf/wolf.skm");
    ASSERT_EQ(wolfModel["warnings"].size(), 1U) << wolfModel;
    EXPECT_TRUE(std::regex_match(wolfModel["warnings"][0].get<std::string>(),
                                 std::regex("wolf\\.glb: 2 vertices have no bone weight.*")))
        << wolfModel["warnings"][0];

    for (const char* orc :
         {"art/meshes/monsters/orc/orc.skm", "art/meshes/monsters/orc/orc_chief.skm"}) {
        const nlohmann::json& model = models.at(orc);
        ASSERT_EQ(model["textures_missing"].size(), 1U) << "listed once: " << model;
        EXPECT_EQ(model["status"], "converted");
        const Glb glb = parseGlb(readFileText(work / ("out/" + glbOf(orc))));
        for (const nlohmann::json& material : glb.json["materials"]) {
            EXPECT_EQ(material["pbrMetallicRoughness"].contains("baseColorTexture"),
                      material["name"] != "material2")
                << material;
        }
    }
}

} // namespace
