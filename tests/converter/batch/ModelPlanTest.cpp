#include "ModelPlan.h"
#include "BatchProcess.h"

#include "support/ConverterProcess.h"
#include "support/SmallModel.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class ModelPlanTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(work / "src/f");
        for (const char* folder : {"src/Tex/A", "src/tex/b", "src/tex/c"}) {
            fs::create_directories(work / folder);
        }
        samplemodel::writeFile(work / "src/Tex/A/Skin.tga", "first");
        samplemodel::writeFile(work / "src/tex/b/skin.tga", "other");
        samplemodel::writeFile(work / "src/tex/c/skin.tga", "first");
        writeModel("x", "body.mdf", "TEX\\a\\skin.tga");
        writeModel("y", "ybody.mdf", "tex/b/skin.tga");
        writeModel("z", "zbody.mdf", "tex/c/skin.tga");
        samplemodel::writeFile(work / "src/f/head.mdf", "Texture \"missing/none.tga\"\n");
        options.sourceRoot = options.dataRoot = work / "src";
        options.outputDir = work / "out";
    }

    // A small model whose first material names one texture.
    void writeModel(const std::string& name, const std::string& mdf, const std::string& texture) {
        SmallModel model = makeSmallModel();
        model.skm.materialPaths = {mdf, "art/head"};
        model.mdfFiles = {{mdf, "Texture \"" + texture + "\"\n"}};
        writeSmallModel(model, work / "src/f", name);
    }

    TemporaryDirectory work;
    BatchOptions options;
};

TEST_F(ModelPlanTest, ATextureNameGoesToTheFirstModelThatNamesIt) {
    const std::vector<ModelPlan> plans = planModels(options, {"f/x.skm", "f/y.skm", "f/z.skm"});
    ASSERT_EQ(plans.size(), 3U);
    const ModelPlan& x = plans[0];
    EXPECT_EQ(x.outputs, (std::vector<std::string>{work / "out/f/x.skeleton", work / "out/f/x.mesh",
                                                   work / "out/f/x.material"}));
    ASSERT_EQ(x.textures.size(), 1U);
    EXPECT_EQ(x.textures[0].source, work / "src/Tex/A/Skin.tga");
    EXPECT_EQ(x.textures[0].relativeDestination, "f/skin.tga");
    EXPECT_EQ(x.texturesMissing, std::vector<std::string>{"missing/none.tga"});
    EXPECT_EQ(x.inputs, (std::vector<std::string>{
                            work / "src/f/x.skm", work / "src/f/x.ska", work / "src/f/body.mdf",
                            work / "src/Tex/A/Skin.tga", work / "src/f/head.mdf"}));

    EXPECT_TRUE(plans[1].textures.empty()) << "another file under a name already taken";
    ASSERT_EQ(plans[1].warnings.size(), 1U);
    EXPECT_NE(plans[1].warnings[0].find(work / "src/tex/b/skin.tga"), std::string::npos);
    EXPECT_NE(plans[1].warnings[0].find(work / "src/Tex/A/Skin.tga"), std::string::npos);

    EXPECT_EQ(plans[2].textures.size(), 1U) << "the same bytes under that name";
    EXPECT_TRUE(plans[2].warnings.empty());
}

TEST_F(ModelPlanTest, TwoModelsWritingTheSameFilesAreNotBothConverted) {
    fs::copy(work / "src/f/x.skm", work / "src/f/x.SKM");
    const std::vector<ModelPlan> plans = planModels(options, {"f/x.SKM", "f/x.skm"});
    EXPECT_EQ(plans[0].refusal, "");
    EXPECT_EQ(plans[1].refusal, "its outputs would replace those of f/x.SKM");
}

// Written on Windows, a model names its files in any case. The batch reads the one file whose
// name differs only in case, and says so; Tarnwick itself stays exact.
TEST_F(ModelPlanTest, AnMdfAndAnSkaNamedInAnotherCaseAreReadWithAWarning) {
    SmallModel model = makeSmallModel();
    // Named by each of the three materials; the warning comes once.
    model.skm.materialPaths.assign(3, "art\\Hero_Skin.mdf");
    model.mdfFiles = {{"hero_skin.mdf", "Texture \"art/skin.tga\"\n"}};
    fs::create_directories(work / "case/f");
    writeSmallModel(model, work / "case/f", "w");
    fs::rename(work / "case/f/w.ska", work / "case/f/W.SKA");

    EXPECT_NE(runTarnwick(work.path(), {"case/f/w.skm", "single.mesh"})
                  .output.find("Importing Skeleton Failed!"),
              std::string::npos);
    const ConverterRun run =
        runBatchTool(work.path(), {"--report", "report.json", "case", "batch-out"});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    const nlohmann::json report = nlohmann::json::parse(readFileText(work / "report.json"));
    EXPECT_EQ(report["models"][0]["warnings"],
              (std::vector<std::string>{
                  "w.ska is not there; W.SKA, whose name differs from it only in case, is read "
                  "instead",
                  "Hero_Skin.mdf is not there; hero_skin.mdf, whose name differs from it only in "
                  "case, is read instead"}));
    EXPECT_NE(readFileText(work / "batch-out/f/w.material").find("texture skin.tga"),
              std::string::npos);
}

TEST_F(ModelPlanTest, SeveralFilesMatchingANameInAnotherCaseFailTheModel) {
    SmallModel model = makeSmallModel();
    model.skm.materialPaths = {"art/Body.mdf"};
    model.mdfFiles = {{"body.mdf", "Texture \"a.tga\"\n"}, {"BODY.MDF", "Texture \"b.tga\"\n"}};
    writeSmallModel(model, work / "src/f", "w");
    const std::vector<ModelPlan> plans = planModels(options, {"f/w.skm"});
    EXPECT_EQ(plans[0].refusal,
              "Body.mdf is not there, and several files differ from it only in case: BODY.MDF, "
              "body.mdf");
}

} // namespace
