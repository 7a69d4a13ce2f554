// Whole runs of the real binary: what it prints, its exit status, and what it leaves on disk.
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"
#include "support/SmallModel.h"

#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const std::string bonesRead = "Reading bones from file:small.skm\n"
                              "\tMesh contains 3 bones.\n"
                              "Reading bones - success.\n";
const std::string mdfWarning = "Warning: .mdf extension was appended to material name.\n";

class ConversionRunTest : public testing::Test {
protected:
    void writeModel(const SmallModel& model) { writeSmallModel(model, work.path(), "small"); }
    ConverterRun convert(const std::vector<std::string>& arguments, const std::string& input = "") {
        return runTarnwick(work.path(), arguments, input);
    }

    TemporaryDirectory work;
    SmallModel model = makeSmallModel();
};

TEST_F(ConversionRunTest, WritesBesideTheSourceWithoutADestination) {
    fs::create_directory(work / "model");
    writeSmallModel(model, work / "model", "small");
    fs::create_directory(work / "elsewhere");
    const ConverterRun run = runTarnwick(work / "elsewhere", {"../model/small.skm"});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    for (const char* file : {"small.skeleton", "small.mesh", "small.material"}) {
        EXPECT_TRUE(fileExists(work / "model/" + file)) << file;
    }
    EXPECT_EQ(filesIn(work / "elsewhere"), std::vector<std::string>{"Tarnwick.log"});
}

TEST_F(ConversionRunTest, MissingSkmOrSkaStopsBeforeAnyOutput) {
    const ConverterRun noSkm = convert({"small.skm"});
    EXPECT_EQ(noSkm.output,
              "Reading bones from file:small.skm\n\tFile not found!\nImporting Skeleton Failed!");
    EXPECT_EQ(noSkm.exitStatus, 1);

    writeModel(model);
    fs::remove(work / "small.ska");
    const ConverterRun noSka = convert({"small.skm", "hero.mesh"});
    EXPECT_EQ(noSka.output, bonesRead + "Importing Skeleton Failed!");
    EXPECT_EQ(noSka.exitStatus, 1);
    EXPECT_EQ(filesIn(work.path()),
              (std::vector<std::string>{"Tarnwick.log", "body.mdf", "head.mdf", "small.skm",
                                        "unused.mdf"}));
}

TEST_F(ConversionRunTest, SkmWithoutBonesFailsTheSkeleton) {
    model.skm.bones.clear();
    writeModel(model);
    const ConverterRun run = convert({"small.skm"});
    EXPECT_EQ(run.output, "Reading bones from file:small.skm\n\tMesh does not contain bones.\n"
                          "Importing Skeleton Failed!");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_FALSE(fileExists(work / "small.skeleton"));
}

TEST_F(ConversionRunTest, FailedMeshLeavesOnlyTheSkeleton) {
    writeModel(model);
    std::fstream skm(work / "small.skm", std::ios::in | std::ios::out | std::ios::binary);
    skm.seekp(24);
    skm.write("\xff\xff\xff\x7f", 4); // two billion faces
    skm.close();
    const ConverterRun run = convert({"small.skm"});
    EXPECT_EQ(run.output, bonesRead +
                              "Importing Skeleton Success!\tsmall.skm: face table at "
                              "offset " +
                              std::to_string(40 + 300 + 3 * 128 + 3 * 80) +
                              " claims 2147483647 records of 8 bytes; the file has " +
                              std::to_string(fs::file_size(work / "small.skm")) +
                              " bytes.\nConverting Mesh Failed.\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_TRUE(fileExists(work / "small.skeleton"));
    EXPECT_FALSE(fileExists(work / "small.mesh"));
    EXPECT_FALSE(fileExists(work / "small.material"));
}

TEST_F(ConversionRunTest, MissingMdfFilesAreReportedAndLeftOutOfTheScript) {
    writeModel(model);
    fs::remove(work / "head.mdf");
    const ConverterRun one = convert({"small.skm"});
    EXPECT_EQ(one.output, bonesRead + "Importing Skeleton Success!" + mdfWarning +
                              "Converting file head.mdf failed.\n");
    EXPECT_EQ(one.exitStatus, 1);
    const std::string script = readFileText(work / "small.material");
    EXPECT_NE(script.find("material body"), std::string::npos);
    EXPECT_EQ(script.find("material head"), std::string::npos);

    fs::remove(work / "small.material");
    fs::remove(work / "body.mdf");
    fs::remove(work / "unused.mdf");
    const ConverterRun none = convert({"small.skm"});
    EXPECT_EQ(none.output, bonesRead + "Importing Skeleton Success!" + mdfWarning +
                               "Converting file body.mdf failed.\n"
                               "Converting file head.mdf failed.\n"
                               "Converting file unused.mdf failed.\n");
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_FALSE(fileExists(work / "small.material"));
    // The mesh still names the materials it could not get.
    ReadBack readBack(work / "readback.log");
    const Ogre::MeshPtr mesh = readBack.mesh(work / "small.mesh", {"body", "head"});
    EXPECT_EQ(mesh->getSubMesh(0)->getMaterialName(), "body");
}

TEST_F(ConversionRunTest, WithoutMaterialRecordsNoScriptIsWritten) {
    model.skm.materialPaths.clear();
    model.skm.faces.clear();
    writeModel(model);
    const ConverterRun run = convert({"small.skm"});
    EXPECT_EQ(run.output, bonesRead + "Importing Skeleton Success!");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(fileExists(work / "small.mesh"));
    EXPECT_FALSE(fileExists(work / "small.material"));
}

TEST_F(ConversionRunTest, SharedMaterialNamesAreConvertedOnce) {
    model.skm.materialPaths = {"art/body.mdf", "other/body.mdf", "art/head.mdf"};
    writeModel(model);
    const ConverterRun run = convert({"small.skm"});
    EXPECT_EQ(run.output, bonesRead + "Importing Skeleton Success!");
    EXPECT_EQ(run.exitStatus, 0);
    const std::string script = readFileText(work / "small.material");
    const std::size_t first = script.find("material body");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(script.find("material body", first + 1), std::string::npos);
    ReadBack readBack(work / "readback.log");
    const Ogre::MeshPtr mesh = readBack.mesh(work / "small.mesh", {"body"});
    ASSERT_EQ(mesh->getNumSubMeshes(), 2);
    EXPECT_EQ(mesh->getSubMesh(0)->getMaterialName(), "body");
    EXPECT_EQ(mesh->getSubMesh(1)->getMaterialName(), "body");
}

TEST_F(ConversionRunTest, InteractiveNamesMayRepeat) {
    writeModel(model);
    const ConverterRun run = convert({"-i", "small.skm"}, "steel\nsteel\n\n");
    EXPECT_EQ(run.output,
              bonesRead + "Importing Skeleton Success!" +
                  "Suggested name for material: body\nConfirm or enter your own : " + mdfWarning +
                  "Suggested name for material: head\nConfirm or enter your own : "
                  "Suggested name for material: unused\nConfirm or enter your own : ");
    EXPECT_EQ(run.exitStatus, 0);
    const std::string script = readFileText(work / "small.material");
    EXPECT_NE(script.find("material steel"), std::string::npos);
    EXPECT_NE(script.find("material unused"), std::string::npos);
    // Converted once, from the first file named under it.
    EXPECT_NE(script.find("texture body.tga"), std::string::npos);
    EXPECT_EQ(script.find("texture head.tga"), std::string::npos);
}

TEST_F(ConversionRunTest, OutputThatCannotBeWrittenIsReportedWithoutACrash) {
    writeModel(model);
    const ConverterRun noFolder = convert({"small.skm", "missing/hero.mesh"});
    EXPECT_EQ(noFolder.output, bonesRead + "Importing Skeleton Success!\nError: Cannot write "
                                           "\"missing/hero.skeleton\": No such file or "
                                           "directory\n");
    EXPECT_EQ(noFolder.exitStatus, 1);
    EXPECT_EQ(noFolder.errors, "");
}

TEST_F(ConversionRunTest, AMeshTheEngineRefusesLeavesNoFileBehind) {
    model.skm.vertices.clear();
    model.skm.faces.clear();
    writeModel(model);
    const ConverterRun run = convert({"small.skm"});
    EXPECT_EQ(run.output, bonesRead + "Importing Skeleton Success!" + mdfWarning +
                              "\nError: Cannot write \"small.mesh\": The Mesh you have supplied "
                              "does not have its bounds completely defined. Define them first "
                              "before exporting.\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_FALSE(fileExists(work / "small.mesh"));
    EXPECT_EQ(filesIn(work.path()).size(), 7u) << "the inputs, the log and the skeleton only";
}

TEST_F(ConversionRunTest, TheEnginesOwnToolsReadTheOutput) {
    writeModel(model);
    ASSERT_EQ(convert({"small.skm"}).exitStatus, 0);
    for (const char* file : {"small.mesh", "small.skeleton"}) {
        const std::string command =
            "cd '" + work.path() + "' && OgreXMLConverter -q " + file + " > xml.log 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << readFileText(work / "xml.log");
    }
    const std::string meshXml = readFileText(work / "small.mesh.xml");
    EXPECT_NE(meshXml.find("material=\"body\""), std::string::npos);
    EXPECT_NE(meshXml.find("<skeletonlink name=\"small.skeleton\""), std::string::npos);
    EXPECT_NE(readFileText(work / "small.skeleton.xml").find("<animation name=\"walk\""),
              std::string::npos);
}

} // namespace
