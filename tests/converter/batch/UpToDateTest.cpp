#include "UpToDate.h"

#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class UpToDateTest : public testing::Test {
protected:
    void SetUp() override {
        plan.source = "a/x.skm";
        plan.inputs = {work / "x.skm", work / "x.ska", work / "x.mdf", work / "skin.tga"};
        plan.outputs = {work / "x.skeleton", work / "x.mesh", work / "x.material"};
        plan.conversion.destPath = work / "x.mesh";
        plan.textures = {{work / "skin.tga", work / "copied.tga", "a/copied.tga"}};
        for (const std::string& file : plan.inputs) {
            write(file, -10);
        }
        for (const std::string& file : plan.outputs) {
            write(file, -5);
        }
        write(work / "copied.tga", -5);
    }

    // A file whose time lies that many seconds from the test's start.
    void write(const std::string& path, int seconds) const {
        std::ofstream(path) << "bytes";
        setTime(path, seconds);
    }
    void setTime(const std::string& path, int seconds) const {
        fs::last_write_time(path, start + std::chrono::seconds(seconds));
    }

    const fs::file_time_type start = fs::file_time_type::clock::now();
    TemporaryDirectory work;
    ModelPlan plan;
};

TEST_F(UpToDateTest, SkippedOnlyWhenEveryOutputIsNewerThanEveryInput) {
    const ModelStamp stamp = stampOf(plan);
    EXPECT_TRUE(isUpToDate(plan, &stamp));
    for (const std::string& input : plan.inputs) {
        setTime(input, -1);
        EXPECT_FALSE(isUpToDate(plan, &stamp)) << input << " touched";
        setTime(input, -10);
    }
    fs::remove(work / "x.ska");
    EXPECT_FALSE(isUpToDate(plan, &stamp)) << "an input went away";
}

TEST_F(UpToDateTest, OutputsMustBeTheFilesThisToolWroteWithTheseSettings) {
    const ModelStamp stamp = stampOf(plan);
    EXPECT_FALSE(isUpToDate(plan, nullptr)) << "never converted by the tool";
    write(work / "x.mesh", -4);
    EXPECT_FALSE(isUpToDate(plan, &stamp)) << "mesh written by someone else";
    setTime(work / "x.mesh", -5);
    ASSERT_TRUE(isUpToDate(plan, &stamp));
    fs::remove(work / "copied.tga");
    EXPECT_FALSE(isUpToDate(plan, &stamp)) << "texture copy gone";
    write(work / "copied.tga", -5);
    plan.meshVersion = Ogre::MESH_VERSION_1_8;
    EXPECT_FALSE(isUpToDate(plan, &stamp)) << "other mesh version";
    plan.meshVersion = Ogre::MESH_VERSION_LATEST;
    plan.textures.clear();
    EXPECT_FALSE(isUpToDate(plan, &stamp)) << "other textures found";
}

TEST_F(UpToDateTest, AModelWithoutMaterialScriptNeedsNone) {
    fs::remove(work / "x.material");
    const ModelStamp stamp = stampOf(plan);
    EXPECT_TRUE(isUpToDate(plan, &stamp));
    fs::remove(work / "x.skeleton");
    EXPECT_FALSE(isUpToDate(plan, &stamp));
}

TEST_F(UpToDateTest, StampsSurviveTheirFileAndADamagedFileHoldsNone) {
    const std::string path = work / "stamps.json";
    {
        StampFile stamps(path);
        stamps.record(plan.source, stampOf(plan));
        stamps.record("b/gone.skm", stampOf(plan));
        stamps.forget("b/gone.skm");
        stamps.saveIfChanged();
    }
    StampFile reread(path);
    ASSERT_NE(reread.find(plan.source), nullptr);
    EXPECT_TRUE(isUpToDate(plan, reread.find(plan.source)));
    EXPECT_EQ(reread.find("b/gone.skm"), nullptr);
    setTime(path, -60);
    reread.saveIfChanged();
    EXPECT_LT(fs::last_write_time(path),
              fs::file_time_type::clock::now() - std::chrono::seconds(30))
        << "unchanged stamps are not written again";

    std::ofstream(path) << "{\"models\": {\"a/x.skm\": {\"signature\": 3}}";
    EXPECT_EQ(StampFile(path).find(plan.source), nullptr);
}

} // namespace
