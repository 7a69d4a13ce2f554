// Runs that fail while writing their outputs, on a read-only folder and on a full disk: one
// line naming the file, exit status 1, no partial file left behind, and each existing output
// either kept as it was or replaced by a complete new file.
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"
#include "support/SmallDisk.h"
#include "support/SmallModel.h"

#include <OgreBone.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using Files = std::vector<std::string>;

// The last line of the console output: the one that reports why the run ended.
std::string lastLine(const std::string& output) {
    const std::size_t end = output.find_last_not_of('\n');
    const std::size_t start = output.rfind('\n', end);
    return output.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

class SafeWriteTest : public testing::Test {
protected:
    SafeWriteTest() { writeSmallModel(makeSmallModel(), work.path(), "small"); }

    void writeOld(const std::string& name, const std::string& text) {
        std::ofstream(work / name, std::ios::binary) << text;
    }

    void expectFailureWriting(const ConverterRun& run, const std::string& file,
                              const std::string& reason) {
        EXPECT_EQ(run.exitStatus, 1) << run.output;
        EXPECT_EQ(run.errors, "");
        EXPECT_EQ(lastLine(run.output), "Error: Cannot write \"" + file + "\": " + reason);
        EXPECT_EQ(run.output.find("Error"), run.output.rfind("Error")) << "one error line";
    }

    TemporaryDirectory work;
};

// Permissions do not bind the superuser, so as root the converter runs as nobody instead, from
// a copy in the test's folder: the build folder may lie where nobody cannot reach it. The shell
// drops the original's path from the command line and runs the copy in its place.
std::vector<std::string> unprivilegedIn(const TemporaryDirectory& work) {
    if (geteuid() != 0) {
        return {};
    }
    fs::copy_file(TARNWICK_PATH, work / "Tarnwick");
    return {"setpriv",
            "--reuid=65534",
            "--regid=65534",
            "--clear-groups",
            "sh",
            "-c",
            "shift; exec \"$0\" \"$@\"",
            work / "Tarnwick"};
}

TEST_F(SafeWriteTest, AReadOnlyFolderKeepsItsFilesAsTheyWere) {
    fs::permissions(work.path(), fs::perms::all);
    const std::vector<std::string> launcher = unprivilegedIn(work);
    if (runTarnwickBehind(launcher, work.path(), {}).exitStatus != 1) {
        GTEST_SKIP() << "an unprivileged user cannot run the converter here";
    }
    fs::create_directory(work / "locked");
    writeOld("locked/hero.skeleton", "old skeleton");
    writeOld("locked/hero.mesh", "old mesh");
    fs::permissions(work / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::others_read | fs::perms::others_exec);

    const ConverterRun run =
        runTarnwickBehind(launcher, work.path(), {"small.skm", "locked/hero.mesh"});
    expectFailureWriting(run, "locked/hero.skeleton", "Permission denied");
    EXPECT_EQ(filesIn(work / "locked"), (Files{"hero.mesh", "hero.skeleton"}));
    EXPECT_EQ(readFileText(work / "locked/hero.skeleton"), "old skeleton");
    EXPECT_EQ(readFileText(work / "locked/hero.mesh"), "old mesh");
}

std::string createdFolder(const std::string& path) {
    fs::create_directory(path);
    return path;
}

class FullDiskTest : public SafeWriteTest {
protected:
    void SetUp() override {
        if (!disk.mounted()) {
            GTEST_SKIP() << disk.whyNot();
        }
    }

    ConverterRun convertOntoDisk() {
        return runTarnwick(work.path(), {"small.skm", "disk/hero.mesh"});
    }

    const std::string diskPath = createdFolder(work / "disk");
    SmallDisk disk{diskPath, 64 * 1024};
};

TEST_F(FullDiskTest, ADiskWithoutRoomKeepsTheFilesItHeld) {
    writeOld("disk/hero.skeleton", "old skeleton");
    writeOld("disk/hero.mesh", "old mesh");
    disk.fillLeaving(0);

    expectFailureWriting(convertOntoDisk(), "disk/hero.skeleton", "No space left on device");
    EXPECT_EQ(filesIn(diskPath), (Files{"filler", "hero.mesh", "hero.skeleton"}));
    EXPECT_EQ(readFileText(work / "disk/hero.skeleton"), "old skeleton");
    EXPECT_EQ(readFileText(work / "disk/hero.mesh"), "old mesh");
}

// One free page takes the small skeleton but not the mesh after it.
TEST_F(FullDiskTest, ADiskThatFillsUpMidwayHoldsWholeFilesOnly) {
    writeOld("disk/hero.mesh", "old mesh");
    disk.fillLeaving(1);

    expectFailureWriting(convertOntoDisk(), "disk/hero.mesh", "No space left on device");
    EXPECT_EQ(filesIn(diskPath), (Files{"filler", "hero.mesh", "hero.skeleton"}));
    EXPECT_EQ(readFileText(work / "disk/hero.mesh"), "old mesh");
    ReadBack readBack(work / "readback.log");
    const Ogre::SkeletonPtr skeleton = readBack.skeleton(work / "disk/hero.skeleton");
    EXPECT_EQ(skeleton->getNumBones(), 3u);
    EXPECT_TRUE(skeleton->hasAnimation("walk"));
    EXPECT_TRUE(skeleton->hasAnimation("idle"));
}

} // namespace
