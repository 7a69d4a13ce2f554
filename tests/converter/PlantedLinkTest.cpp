// Runs in a folder where someone else has planted symbolic links at the names the converter
// writes: at the temporaries' names, at the outputs' names and at "Tarnwick.log". Each link
// points at a file outside the folder, which must keep its content. Root follows links in any
// folder that is not sticky, so these hold for root too.
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"
#include "support/SmallModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> outputs = {"hero.material", "hero.mesh", "hero.skeleton"};

class PlantedLinkTest : public testing::Test {
protected:
    PlantedLinkTest() {
        writeSmallModel(makeSmallModel(), work.path(), "small");
        fs::create_directory(work / "out");
        std::ofstream(outside / "precious", std::ios::binary) << "precious";
    }

    void plantLink(const std::string& name) {
        fs::create_symlink(outside / "precious", work / name);
    }

    ConverterRun convert() { return runTarnwick(work.path(), {"small.skm", "out/hero.mesh"}); }

    void expectOutsideUntouched() {
        EXPECT_EQ(readFileText(outside / "precious"), "precious");
        EXPECT_EQ(filesIn(outside.path()), std::vector<std::string>{"precious"});
    }

    void expectOutputsRegularFiles() {
        for (const std::string& output : outputs) {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work / "out/" + output))) << output;
        }
        ReadBack readBack(work / "readback.log");
        EXPECT_EQ(readBack.mesh(work / "out/hero.mesh")->getNumSubMeshes(), 2u);
    }

    TemporaryDirectory work;
    TemporaryDirectory outside;
};

// The process ids that the next runs are likely to get, for temporaries named after them.
std::vector<int> nextProcessIds(int count) {
    int last = 0;
    std::ifstream("/proc/sys/kernel/ns_last_pid") >> last;
    std::vector<int> ids;
    for (int id = last + 1; id <= last + count; ++id) {
        ids.push_back(id);
    }
    return ids;
}

TEST_F(PlantedLinkTest, LinksAtLikelyTemporaryNamesAreNeverWrittenThrough) {
    std::mt19937 random(std::random_device{}());
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (const std::string& output : outputs) {
        for (int id : nextProcessIds(400)) {
            plantLink("out/" + output + ".partial-" + std::to_string(id));
        }
        for (int i = 0; i < 200; ++i) {
            std::string suffix;
            while (suffix.size() < 6) {
                suffix += letters[random() % letters.size()];
            }
            plantLink("out/." + output + ".tmp-" + suffix);
        }
    }
    const ConverterRun run = convert();
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    expectOutsideUntouched();
    expectOutputsRegularFiles();
    EXPECT_EQ(filesIn(work / "out").size(), 3 * (400 + 200) + outputs.size());
}

TEST_F(PlantedLinkTest, LinksAtTheOutputsAndTheLogAreReplacedNotFollowed) {
    for (const std::string& output : outputs) {
        plantLink("out/" + output);
    }
    plantLink("Tarnwick.log");
    const ConverterRun run = convert();
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    expectOutsideUntouched();
    expectOutputsRegularFiles();
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work / "Tarnwick.log")));
    EXPECT_NE(readFileText(work / "Tarnwick.log").find("Creating resource group General"),
              std::string::npos);
}

// Opened for writing, a FIFO would hold the run until someone read from it.
TEST_F(PlantedLinkTest, ALogThatIsNoFileIsLeftOutWithOneWarning) {
    ASSERT_EQ(mkfifo((work / "Tarnwick.log").c_str(), 0666), 0);
    const ConverterRun run = runTarnwick(work.path(), {"small.skm", "out/hero.mesh"}, "", 5);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(run.output.rfind("Warning: the log \"Tarnwick.log\" cannot be written (", 0), 0u)
        << run.output;
    EXPECT_EQ(filesIn(work / "out"), outputs);
}

mode_t modeOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// A replaced output keeps its bits; a new one gets 0666 less the umask, as any tool's output.
TEST_F(PlantedLinkTest, ReplacedFilesKeepTheirModeAndNewOnesFollowTheUmask) {
    std::ofstream(work / "out/hero.mesh") << "old mesh";
    fs::permissions(work / "out/hero.mesh", static_cast<fs::perms>(0604));
    const mode_t previousMask = umask(027);
    const ConverterRun run = convert();
    umask(previousMask);
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(modeOf(work / "out/hero.mesh"), 0604u);
    EXPECT_EQ(modeOf(work / "out/hero.skeleton"), 0640u);
    EXPECT_EQ(modeOf(work / "out/hero.material"), 0640u);
}

} // namespace
