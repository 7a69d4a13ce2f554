// Whole runs of the real tarnwick-batch on the sample-model writer's art tree.
#include "ArtTree.h"
#include "BatchProcess.h"
#include "support/ReadBack.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sys/stat.h>
#include <thread>

namespace {

namespace fs = std::filesystem;

const std::string ghostFailure =
    "failed: art/meshes/npc/ghost/ghost.skm: no SKA file ghost.ska beside it\n";

class BatchRunTest : public testing::Test {
protected:
    void SetUp() override { samplemodel::writeArtTree(work / "tree"); }

    ConverterRun convert(std::vector<std::string> options = {}) {
        for (const char* word : {"--report", "report.json", "tree", "out"}) {
            options.push_back(word);
        }
        return runBatchTool(work.path(), options);
    }

    nlohmann::json report() const {
        return nlohmann::json::parse(readFileText(work / "report.json"));
    }

    // Model → status, from the report.
    std::map<std::string, std::string> statuses() const {
        std::map<std::string, std::string> byModel;
        const nlohmann::json parsed = report();
        for (const nlohmann::json& model : parsed["models"]) {
            byModel[model["source"].get<std::string>()] = model["status"].get<std::string>();
        }
        return byModel;
    }

    std::vector<std::string> converted() const {
        std::vector<std::string> models;
        for (const auto& [model, status] : statuses()) {
            if (status == "converted") {
                models.push_back(model);
            }
        }
        return models;
    }

    std::map<std::string, fs::file_time_type> outputTimes() const {
        std::map<std::string, fs::file_time_type> times;
        for (const auto& entry : fs::recursive_directory_iterator(work / "out")) {
            // Each run writes its pid into the lock file.
            if (entry.path().filename() != ".tarnwick-batch.lock") {
                times[entry.path().string()] = entry.last_write_time();
            }
        }
        return times;
    }

    void touch(const std::string& file) {
        fs::last_write_time(work / "tree/" + file, fs::file_time_type::clock::now());
    }

    // Six copies of the giant, the slowest model, in "many": with one worker, the model after
    // giant<i> starts once giant<i> is settled.
    void writeManyGiants() const {
        for (int i = 0; i < 6; ++i) {
            const std::string folder = work / "many/giant" + std::to_string(i);
            fs::create_directories(folder);
            fs::copy(work / "tree/art/meshes/monsters/giant", folder);
        }
    }

    void waitForFile(const std::string& file) const {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!fs::exists(work / file) && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // A pipe takes a writer once the batch has opened it for reading; -1 if it never does. Not
    // inherited: a batch started later would hold the pipe open.
    static int openWhenRead(const fs::path& pipe) {
        int writer = -1;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while ((writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0 &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return writer;
    }

    std::vector<std::string> temporariesIn(const std::string& folder) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(work / folder)) {
            const std::string name = entry.path().filename().string();
            if (name.find(".tmp-") != std::string::npos) {
                found.push_back(entry.path().string());
            }
        }
        return found;
    }

    TemporaryDirectory work;
};

std::vector<std::string> textureNames(const std::string& materialScript) {
    std::vector<std::string> names;
    std::istringstream lines(materialScript);
    std::string line;
    const std::regex texture("\\s*texture (\\S+).*");
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_match(line, match, texture)) {
            names.push_back(match[1]);
        }
    }
    return names;
}

TEST_F(BatchRunTest, ConvertsTheTreeAsSingleRunsWouldWithTexturesAndReport) {
    const ConverterRun run = convert({"-j", "2"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.errors, ghostFailure);
    EXPECT_TRUE(
        std::regex_match(run.output, std::regex("11 converted, 0 skipped, 1 failed, 0 with "
                                                "warnings, 0 textures missing, [0-9.]+ s\n")))
        << run.output;

    const nlohmann::json parsed = report();
    EXPECT_EQ(parsed["summary"]["converted"], 11);
    ASSERT_EQ(parsed["models"].size(), 12U);
    for (const nlohmann::json& model : parsed["models"]) {
        const std::string source = model["source"];
        if (model["status"] == "failed") {
            EXPECT_EQ(source, "art/meshes/npc/ghost/ghost.skm");
            EXPECT_EQ(model["error"], "no SKA file ghost.ska beside it");
            continue;
        }
        const fs::path base = fs::path(source).replace_extension();
        const fs::path single = work / "single" / base;
        fs::create_directories(single.parent_path());
        ASSERT_EQ(
            runTarnwick(work.path(), {"tree/" + source, single.string() + ".mesh"}).exitStatus, 0);
        for (const char* extension : {".skeleton", ".mesh", ".material"}) {
            EXPECT_EQ(readFileText(work / "out/" + base.string() + extension),
                      readFileText(single.string() + extension))
                << source << extension;
        }
        EXPECT_EQ(model["outputs"].size(), 3U);
        // Every texture the material script names lies beside it, under that name.
        const std::vector<std::string> names =
            textureNames(readFileText(work / "out/" + base.string() + ".material"));
        ASSERT_FALSE(names.empty()) << source;
        std::vector<std::string> copied;
        for (const std::string& name : names) {
            const std::string copy = (base.parent_path() / name).string();
            EXPECT_EQ(readFileText(work / "out/" + copy).substr(0, 3), std::string("\0\0\2", 3))
                << copy << " is no TGA";
            copied.push_back(copy);
        }
        EXPECT_EQ(model["textures_copied"], copied) << source;
    }
}

TEST_F(BatchRunTest, MeshVersion18IsReadByTheEngineAndByAssimp) {
    ASSERT_EQ(convert({"--mesh-version", "1.8"}).exitStatus, 1);
    ReadBack readBack(work / "readback.log");
    for (const std::string& source : converted()) {
        const std::string mesh =
            work / "out/" + fs::path(source).replace_extension(".mesh").string();
        EXPECT_EQ(readFileText(mesh).substr(2, 21), "[MeshSerializer_v1.8]") << source;
        EXPECT_GT(readBack.mesh(mesh)->getNumSubMeshes(), 0U) << source;

        const std::string info = work / "assimp-info.txt";
        const std::string command = "cd '" + fs::path(mesh).parent_path().string() +
                                    "' && assimp info '" + fs::path(mesh).filename().string() +
                                    "' >'" + info + "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << readFileText(info);
        const std::string text = readFileText(info);
        for (const char* count : {"Bones: +[1-9]", "Animations: +[1-9]", "Materials: +[1-9]"}) {
            EXPECT_TRUE(std::regex_search(text, std::regex(count))) << source << ": " << count;
        }
    }
}

TEST_F(BatchRunTest, AFailingModelFailsAloneWithItsReason) {
    std::fstream hostile(work / "tree/art/meshes/items/chest/chest.skm",
                         std::ios::in | std::ios::out | std::ios::binary);
    hostile.seekp(16); // the vertex count
    hostile.write("\xff\xff\xff\x7f", 4);
    hostile.close();
    fs::remove(work / "tree/art/meshes/items/banner/material1.mdf");
    std::fstream variations(work / "tree/art/meshes/items/banner/banner.ska",
                            std::ios::in | std::ios::out | std::ios::binary);
    variations.seekp(8); // the variation count
    variations.write("\1", 1);
    variations.close();

    const ConverterRun run = convert();
    EXPECT_EQ(run.exitStatus, 1);
    const std::map<std::string, std::string> byModel = statuses();
    EXPECT_EQ(converted().size(), 9U);
    for (const char* model :
         {"art/meshes/items/chest/chest.skm", "art/meshes/items/banner/banner.skm",
          "art/meshes/npc/ghost/ghost.skm"}) {
        EXPECT_EQ(byModel.at(model), "failed") << model;
    }
    EXPECT_TRUE(std::regex_search(
        run.errors,
        std::regex("failed: art/meshes/items/chest/chest.skm: [^ ]*chest.skm: vertex table "
                   "at offset [0-9]+ claims 2147483647 records.*Converting Mesh Failed.\n")))
        << run.errors;
    EXPECT_NE(run.errors.find("failed: art/meshes/items/banner/banner.skm: Converting file "
                              "material1.mdf failed.\n"),
              std::string::npos)
        << run.errors;
    const nlohmann::json parsed = report();
    for (const nlohmann::json& model : parsed["models"]) {
        if (model["source"] == "art/meshes/items/banner/banner.skm") {
            EXPECT_EQ(model["warnings"], std::vector<std::string>{"Warning: Variation count != 0. "
                                                                  "Variation format is unknown."});
            EXPECT_EQ(model["error"], "Converting file material1.mdf failed.");
        }
    }
}

// "monsters" is a file: its four models fail, and only they.
TEST_F(BatchRunTest, AFileWhereAModelsFolderGoesFailsThatModelAlone) {
    fs::create_directories(work / "out/art/meshes");
    std::ofstream(work / "out/art/meshes/monsters") << "in the way";
    const ConverterRun run = convert();
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output.substr(0, 17), "7 converted, 0 sk") << run.output;
    EXPECT_EQ(converted().size(), 7U);
    for (const char* model :
         {"giant/giant.skm", "orc/orc.skm", "orc/orc_chief.skm", "wolf/wolf.skm"}) {
        const std::string source = std::string("art/meshes/monsters/") + model;
        EXPECT_EQ(statuses().at(source), "failed") << model;
        EXPECT_NE(run.errors.find("failed: " + source +
                                  ": cannot create its folder out/art/meshes/monsters/" +
                                  fs::path(model).parent_path().string() + ": Not a directory\n"),
                  std::string::npos)
            << run.errors;
    }
}

// The giant's SKA is a pipe nobody writes to: its worker waits on it for ever.
TEST_F(BatchRunTest, AModelOverTheTimeLimitFails) {
    fs::rename(work / "tree/art/meshes/monsters/giant", work / "giant");
    fs::rename(work / "tree/art/textures", work / "textures");
    fs::remove(work / "giant/giant.ska");
    ASSERT_EQ(mkfifo((work / "giant/giant.ska").c_str(), 0600), 0);
    const ConverterRun run = runBatchTool(work.path(), {"--timeout", "0.5", "giant", "out"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.errors, "failed: giant.skm: took longer than 0.5 s\n");
}

TEST_F(BatchRunTest, ReconvertsExactlyTheModelsWhoseInputsChanged) {
    convert();
    const auto firstTimes = outputTimes();
    const ConverterRun again = convert();
    EXPECT_EQ(again.output.substr(0, 34), "0 converted, 11 skipped, 1 failed,");
    EXPECT_EQ(outputTimes(), firstTimes);

    touch("art/meshes/monsters/wolf/wolf.ska");
    convert();
    EXPECT_EQ(converted(), std::vector<std::string>{"art/meshes/monsters/wolf/wolf.skm"});
    touch("art/meshes/humans/guard/skin.mdf");
    convert();
    EXPECT_EQ(converted(), (std::vector<std::string>{"art/meshes/humans/guard/captain.skm",
                                                     "art/meshes/humans/guard/guard.skm"}));
    touch("art/textures/monsters/orc/material2.tga");
    convert();
    EXPECT_EQ(converted(), (std::vector<std::string>{"art/meshes/monsters/orc/orc.skm",
                                                     "art/meshes/monsters/orc/orc_chief.skm"}));
    convert({"--force"});
    EXPECT_EQ(converted().size(), 11U);
}

TEST_F(BatchRunTest, AModelConvertedAgainLosesTheTemporariesAKilledRunLeft) {
    convert();
    const fs::path wolf = work / "out/art/meshes/monsters/wolf";
    for (const char* name : {".wolf.mesh.tmp-Ab12Cd", ".Material0.tga.tmp-xY34zW", ".notes"}) {
        std::ofstream(wolf / name) << "left";
    }
    touch("art/meshes/monsters/wolf/wolf.ska");
    convert();
    EXPECT_FALSE(fs::exists(wolf / ".wolf.mesh.tmp-Ab12Cd"));
    EXPECT_FALSE(fs::exists(wolf / ".Material0.tga.tmp-xY34zW"));
    EXPECT_TRUE(fs::exists(wolf / ".notes"));
}

TEST_F(BatchRunTest, CtrlCAndSigtermEndTheRunLeavingNoPartialFileAndAReport) {
    writeManyGiants();
    for (const int number : {SIGINT, SIGTERM}) {
        const std::string out = "out" + std::to_string(number);
        BatchProcess batch(work.path(), {"-j", "1", "--report", "report.json", "many", out});
        waitForFile(out + "/giant1/giant.mesh");
        const auto interrupted = std::chrono::steady_clock::now();
        kill(batch.pid(), number);
        const ConverterRun run = batch.wait();
        EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::milliseconds(1500));
        EXPECT_EQ(run.exitStatus, 128 + number);
        EXPECT_EQ(report()["interrupted"], true);
        EXPECT_GE(report()["models"].size(), 1U);
        EXPECT_LT(report()["models"].size(), 6U);
        EXPECT_EQ(temporariesIn(out), std::vector<std::string>{});
    }
}

// The first run holds the folder while it plans, its giant's MDF file being a pipe the test
// writes to once the other runs have met the lock.
TEST_F(BatchRunTest, ASecondRunOnOneFolderWaitsThenSkipsEverything) {
    fs::remove_all(work / "tree/art/meshes/npc/ghost");
    fs::create_directories(work / "empty");
    const fs::path mdf = work / "tree/art/meshes/monsters/giant/material0.mdf";
    const std::string material = readFileText(mdf);
    fs::remove(mdf);
    ASSERT_EQ(mkfifo(mdf.c_str(), 0600), 0);
    BatchProcess first(work.path(), {"tree", "out"});
    const int writer = openWhenRead(mdf);
    ASSERT_GE(writer, 0);
    const std::string waiting =
        "waiting for the run of pid " + std::to_string(first.pid()) + " on out…\n";

    const ConverterRun impatient = runBatchTool(work.path(), {"--no-wait", "tree", "out"});
    EXPECT_EQ(impatient.exitStatus, 2);
    EXPECT_EQ(impatient.errors, waiting);
    EXPECT_EQ(impatient.output, "");
    EXPECT_EQ(runBatchTool(work.path(), {"--no-wait", "empty", "other"}).exitStatus, 0)
        << "another folder is free";
    BatchProcess second(work.path(), {"tree", "out"});
    BatchProcess interrupted(work.path(), {"tree", "out"});
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((second.errorsSoFar().empty() || interrupted.errorsSoFar().empty()) &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(interrupted.pid(), SIGINT);
    const ConverterRun interruptedRun = interrupted.wait();
    EXPECT_EQ(interruptedRun.exitStatus, 130) << "Ctrl-C ends the wait";
    EXPECT_EQ(interruptedRun.errors, waiting);

    // A plain file, older than every output, for the conversion and the second run; the pipe
    // the first run reads stays open.
    const fs::path replacement = work / "material0.mdf";
    std::ofstream(replacement) << material;
    fs::last_write_time(replacement, fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::rename(replacement, mdf);
    EXPECT_EQ(write(writer, material.data(), material.size()), ssize_t(material.size()));
    close(writer);
    const ConverterRun firstRun = first.wait();
    const ConverterRun secondRun = second.wait();
    EXPECT_EQ(firstRun.exitStatus, 0) << firstRun.errors;
    EXPECT_EQ(firstRun.output.substr(0, 34), "11 converted, 0 skipped, 0 failed,");
    EXPECT_EQ(secondRun.exitStatus, 0);
    EXPECT_EQ(secondRun.errors, waiting);
    EXPECT_EQ(secondRun.output.substr(0, 34), "0 converted, 11 skipped, 0 failed,");
}

// With one worker each giant is settled before the next one's files are in place.
TEST_F(BatchRunTest, ARunKilledOutrightResumesWhereItStopped) {
    writeManyGiants();
    {
        BatchProcess killed(work.path(), {"-j", "1", "many", "out"});
        waitForFile("out/giant2/giant.mesh");
        kill(killed.pid(), SIGKILL);
        EXPECT_EQ(killed.wait().exitStatus, 128 + SIGKILL);
    }
    const ConverterRun resumed =
        runBatchTool(work.path(), {"--report", "report.json", "many", "out"});
    EXPECT_EQ(resumed.exitStatus, 0) << resumed.errors;
    const std::map<std::string, std::string> byModel = statuses();
    EXPECT_EQ(byModel.at("giant0/giant.skm"), "skipped");
    EXPECT_EQ(byModel.at("giant1/giant.skm"), "skipped");
    EXPECT_LE(converted().size(), 4U);
    EXPECT_EQ(temporariesIn("out"), std::vector<std::string>{});

    ASSERT_EQ(runBatchTool(work.path(), {"many", "clean"}).exitStatus, 0);
    for (const auto& entry : fs::recursive_directory_iterator(work / "clean")) {
        const std::string relative = entry.path().lexically_relative(work / "clean").string();
        if (entry.is_regular_file() && relative[0] != '.') {
            EXPECT_EQ(readFileText(work / "out/" + relative), readFileText(entry.path()))
                << relative;
        }
    }
    EXPECT_EQ(filesIn(work / "out/giant5"), filesIn(work / "clean/giant5"));
}

// Planning reads each model's MDF files: one that is a pipe holds the batch there until it is
// written.
TEST_F(BatchRunTest, CtrlCWhilePlanningStillEndsWithAReport) {
    const fs::path mdf = work / "tree/art/meshes/monsters/giant/material0.mdf";
    fs::remove(mdf);
    ASSERT_EQ(mkfifo(mdf.c_str(), 0600), 0);
    BatchProcess batch(work.path(), {"--report", "report.json", "tree", "out"});
    const int writer = openWhenRead(mdf);
    ASSERT_GE(writer, 0);
    kill(batch.pid(), SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string material = "Textured\nTexture \"orc.tga\"\n";
    const auto previous = std::signal(SIGPIPE, SIG_IGN); // should the batch have ended already
    EXPECT_EQ(write(writer, material.data(), material.size()), ssize_t(material.size()));
    std::signal(SIGPIPE, previous);
    close(writer);
    const ConverterRun run = batch.wait();
    EXPECT_EQ(run.exitStatus, 130);
    EXPECT_EQ(report()["interrupted"], true);
    EXPECT_EQ(report()["models"].size(), 0U);
    EXPECT_FALSE(fs::exists(work / "out/art"));
}

TEST_F(BatchRunTest, UsageErrorsEndWithOneLineAndStatus2) {
    std::ofstream(work / "file") << "not a folder";
    const std::vector<std::vector<std::string>> usages = {
        {"tree"},
        {"--bogus", "tree", "out"},
        {"-j", "0", "tree", "out"},
        {"--timeout", "-1", "tree", "out"},
        {"--timeout", "nan", "tree", "out"},
        {"-j", "99999999999", "tree", "out"},
        {"--mesh-version", "1.7", "tree", "out"},
        {"missing", "out"},
        {"file", "out"},
        {"tree", "file/out"},
        {"--data-root", "missing", "tree", "out"},
        {"--report", "file/report.json", "tree", "out"},
        {"--report", "tree", "tree", "out"},
    };
    for (const std::vector<std::string>& arguments : usages) {
        const ConverterRun run = runBatchTool(work.path(), arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments[0];
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_EQ(run.output, "");
    }
    EXPECT_FALSE(fs::exists(work / "out"));
    EXPECT_EQ(
        runBatchTool(work.path(), {"--timeout", "nan", "tree", "out"}).errors,
        "tarnwick-batch: --timeout: wants a number of seconds above 0, not nan (see --help)\n");
    const ConverterRun help = runBatchTool(work.path(), {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.output.find("--mesh-version"), std::string::npos);
}

// A long run must not end without its report for want of a folder.
TEST_F(BatchRunTest, TheReportsFolderIsMadeBeforeTheRun) {
    fs::create_directories(work / "empty");
    const ConverterRun run =
        runBatchTool(work.path(), {"--report", "reports/new/report.json", "empty", "out"});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    const nlohmann::json parsed =
        nlohmann::json::parse(readFileText(work / "reports/new/report.json"));
    EXPECT_EQ(parsed["models"].size(), 0U);
}

TEST_F(BatchRunTest, AnOutputFolderInsideTheSourceIsNeverASource) {
    fs::create_directories(work / "empty");
    const ConverterRun none = runBatchTool(work.path(), {"empty", "empty/out"});
    EXPECT_EQ(none.exitStatus, 0);
    EXPECT_EQ(none.output.substr(0, 66),
              "0 converted, 0 skipped, 0 failed, 0 with warnings, 0 textures miss");

    fs::create_directories(work / "tree/out/stale");
    fs::copy(work / "tree/art/meshes/humans/figure.skm", work / "tree/out/stale/old.skm");
    const ConverterRun run =
        runBatchTool(work.path(), {"--report", "report.json", "tree", "tree/out"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(report()["models"].size(), 12U);
    EXPECT_TRUE(fs::exists(work / "tree/out/art/meshes/humans/figure.mesh"));
}

} // namespace
