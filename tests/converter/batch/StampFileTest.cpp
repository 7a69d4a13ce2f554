// The stamps of an output folder: their journal after a kill, and files that cannot be read.
#include "StampFile.h"

#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const ModelStamp wolfStamp{"tarnwick-batch 1.0.0", {{"wolf.mesh", 42}, {"wolf.skeleton", 41}}};
const ModelStamp orcStamp{"tarnwick-batch 1.0.0", {{"orc.mesh", 7}}};

class StampFileTest : public testing::Test {
protected:
    std::string stampsPath() const { return work / "stamps.json"; }
    std::string journalPath() const { return work / "stamps.journal"; }

    TemporaryDirectory work;
    std::ostringstream warnings;
};

// A run killed outright never saves, and a kill in the middle of a write leaves the last
// journal line cut short.
TEST_F(StampFileTest, WhatAKilledRunRecordedIsFoundAndItsTornLastLinePassedOver) {
    {
        StampFile killed(stampsPath(), warnings);
        killed.record("a/wolf.skm", wolfStamp);
        killed.saveIfChanged();
        killed.record("a/orc.skm", orcStamp);
        killed.forget("a/wolf.skm");
        killed.record("a/giant.skm", wolfStamp);
    }
    const std::string journal = readFileText(journalPath());
    std::ofstream(journalPath()) << journal.substr(0, journal.size() - 20);
    {
        StampFile next(stampsPath(), warnings);
        ASSERT_NE(next.find("a/orc.skm"), nullptr);
        EXPECT_EQ(*next.find("a/orc.skm"), orcStamp);
        EXPECT_EQ(next.find("a/wolf.skm"), nullptr) << "forgotten after the save";
        EXPECT_EQ(next.find("a/giant.skm"), nullptr);
        // Folded in at once, so that no line of this run follows the torn one.
        EXPECT_FALSE(fs::exists(journalPath()));
        next.record("a/giant.skm", wolfStamp);
    }
    EXPECT_NE(StampFile(stampsPath(), warnings).find("a/giant.skm"), nullptr);
    EXPECT_EQ(warnings.str(), "");
}

TEST_F(StampFileTest, DamagedStampsAreOneWarningAndAGoodFileAtTheEnd) {
    std::ofstream(stampsPath()) << "\x89PNG garbage";
    {
        StampFile damaged(stampsPath(), warnings);
        EXPECT_EQ(warnings.str(), "tarnwick-batch: the stamps " + stampsPath() +
                                      " are damaged; every model is converted again\n");
        damaged.saveIfChanged(); // every model failed: nothing recorded, still a good file
    }
    std::ostringstream again;
    StampFile(stampsPath(), again).saveIfChanged();
    EXPECT_EQ(again.str(), "");
    EXPECT_EQ(readFileText(stampsPath()), "{\n \"models\": {}\n}\n");
}

TEST_F(StampFileTest, AStampsPathThatIsAFolderKeepsNoStampsAndEndsNothing) {
    fs::create_directory(stampsPath());
    StampFile folder(stampsPath(), warnings);
    EXPECT_EQ(warnings.str(), "tarnwick-batch: the stamps path " + stampsPath() +
                                  " is a folder; every model is converted, and no stamps are "
                                  "kept\n");
    folder.record("a/wolf.skm", wolfStamp);
    folder.saveIfChanged();
    EXPECT_TRUE(fs::is_directory(stampsPath()));
    EXPECT_FALSE(fs::exists(journalPath()));
    const std::string said = warnings.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

} // namespace
