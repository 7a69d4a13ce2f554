// Whole runs whose material scripts carry what a script could trip over: empty texture paths
// and hostile material names. The script is read back by the engine's own script compiler and
// compared with what the written mesh refers to.
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"
#include "support/SmallModel.h"

#include <OgrePass.h>
#include <OgreTechnique.h>
#include <gtest/gtest.h>

#include <set>

namespace {

using Names = std::set<std::string>;

class MaterialScriptRunTest : public testing::Test {
protected:
    ConverterRun convert(const std::vector<std::string>& arguments, const std::string& input = "") {
        writeSmallModel(model, work.path(), "small");
        return runTarnwick(work.path(), arguments, input);
    }

    // The script holds exactly the materials written, every material the mesh names is among
    // them, and the submeshes of refused names name no material at all.
    void expectScriptMatchesMesh(ReadBack& readBack, const Names& written, std::size_t refused) {
        Names compiled;
        for (const Ogre::MaterialPtr& material :
             readBack.compiledMaterials(readFileText(work / "small.material"))) {
            compiled.insert(material->getName());
        }
        const std::vector<std::string> meshNames = readBack.meshMaterialNames(work / "small.mesh");
        EXPECT_EQ(compiled, written);
        for (const std::string& name : meshNames) {
            EXPECT_TRUE(name.empty() || written.count(name) == 1) << name;
        }
        EXPECT_EQ(std::count(meshNames.begin(), meshNames.end(), ""), refused);
    }

    TemporaryDirectory work;
    SmallModel model = makeSmallModel();
};

TEST_F(MaterialScriptRunTest, AnEmptyTexturePathGivesAUnitWithoutTexture) {
    model.mdfFiles[0].second = "Texture \"\"\nTexture \"art/skin.tga\"\n";
    const ConverterRun run = convert({"small.skm"});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output.find("Error"), std::string::npos) << run.output;

    ReadBack readBack(work / "readback.log");
    std::vector<Ogre::MaterialPtr> body;
    for (const Ogre::MaterialPtr& material :
         readBack.compiledMaterials(readFileText(work / "small.material"))) {
        if (material->getName() == "body") {
            body.push_back(material);
        }
    }
    ASSERT_EQ(body.size(), 1u);
    ASSERT_EQ(body[0]->getNumTechniques(), 2u);
    std::vector<Ogre::TextureUnitState*> units;
    for (Ogre::Technique* technique : body[0]->getTechniques()) {
        ASSERT_EQ(technique->getNumPasses(), 1u);
        ASSERT_EQ(technique->getPass(0)->getNumTextureUnitStates(), 1u);
        units.push_back(technique->getPass(0)->getTextureUnitState(0));
    }
    EXPECT_EQ(units[0]->getTextureName(), "");
    EXPECT_EQ(units[1]->getTextureName(), "skin.tga");
    expectScriptMatchesMesh(readBack, {"body", "head", "unused"}, 0);
}

std::vector<samplemodel::SkmFaceDesc> oneFaceForEach(std::size_t materials) {
    std::vector<samplemodel::SkmFaceDesc> faces;
    for (std::size_t i = 0; i < materials; ++i) {
        faces.push_back({static_cast<uint16_t>(i), {0, 1, 2}});
    }
    return faces;
}

TEST_F(MaterialScriptRunTest, HostileNamesFromTheMeshComeBackExactlyOrNotAtAll) {
    const std::vector<std::string> names = {"steel plate",   "say \"hi\"",  "\"quoted\"", "{brace}",
                                            "#hash",         "tab\there",   "bell\x07",   "cr\r",
                                            "dollar$:colon", "line\nbreak", "body"};
    model.skm.materialPaths.clear();
    model.mdfFiles.clear();
    for (const std::string& name : names) {
        model.skm.materialPaths.push_back("art/" + name + ".mdf");
        model.mdfFiles.emplace_back(name + ".mdf", "Texture \"skin.tga\"\n");
    }
    model.skm.faces = oneFaceForEach(names.size());
    const ConverterRun run = convert({"small.skm"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("Converting file line\\x0abreak.mdf failed: no material script "
                              "can hold the name \"line\\x0abreak\", so the mesh names no "
                              "material there.\n"),
              std::string::npos)
        << run.output;
    Names written(names.begin(), names.end());
    written.erase("line\nbreak");
    written.erase("cr\r");
    ReadBack readBack(work / "readback.log");
    expectScriptMatchesMesh(readBack, written, 2);
}

TEST_F(MaterialScriptRunTest, HostileTypedNamesComeBackExactlyOrNotAtAll) {
    model.skm.faces = oneFaceForEach(3);
    const std::string nulName("/* open\0", 8);
    const ConverterRun run =
        convert({"-i", "small.skm"}, "//slashes\n" + nulName + "\nback\\ slash\\\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.output.find("Converting file unused.mdf failed: no material script can hold "
                              "the name \"back\\ slash\\\""),
              std::string::npos)
        << run.output;
    ReadBack readBack(work / "readback.log");
    expectScriptMatchesMesh(readBack, {"//slashes"}, 2);
}

} // namespace
