#include "ModelPlan.h"

#include "support/ConverterProcess.h"
#include "support/SmallModel.h"

#include <gtest/gtest.h>

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

} // namespace
