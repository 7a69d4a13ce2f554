// The viewer's command line and where it finds its configuration and the models it is given.

#include "CommandLine.h"
#include "ResourcePaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Parsed {
    CommandLine commandLine;
    std::string output;
    std::string errors;
};

Parsed parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "Velmora");
    std::ostringstream output, errors;
    Parsed parsed{
        parseCommandLine(static_cast<int>(arguments.size()), arguments.data(), output, errors), "",
        ""};
    parsed.output = output.str();
    parsed.errors = errors.str();
    return parsed;
}

TEST(CommandLine, NoArgumentsKeepTheDefaults) {
    const Parsed parsed = parse({});
    EXPECT_FALSE(parsed.commandLine.exitStatus);
    const ViewerOptions& options = parsed.commandLine.options;
    EXPECT_TRUE(options.paths.empty());
    EXPECT_EQ(options.screenshotFile, "");
    EXPECT_EQ(options.width, 800u);
    EXPECT_EQ(options.height, 600u);
    EXPECT_EQ(parsed.output + parsed.errors, "");
}

TEST(CommandLine, TakesEveryOption) {
    const Parsed parsed =
        parse({"--screenshot", "a.png", "--animation", "walk", "--time", "0.5", "--size",
               "320x16384", "--window", "1280x720", "one.mesh", "folder"});
    ASSERT_FALSE(parsed.commandLine.exitStatus) << parsed.errors;
    const ViewerOptions& options = parsed.commandLine.options;
    EXPECT_EQ(options.screenshotFile, "a.png");
    EXPECT_EQ(options.animation, "walk");
    EXPECT_FLOAT_EQ(options.time, 0.5f);
    EXPECT_EQ(options.width, 320u);
    EXPECT_EQ(options.height, 16384u);
    EXPECT_EQ(options.windowWidth, 1280u);
    EXPECT_EQ(options.windowHeight, 720u);
    EXPECT_EQ(options.paths, (std::vector<std::string>{"one.mesh", "folder"}));
}

TEST(CommandLine, HelpAndVersionEndTheRunWithStatusZero) {
    const Parsed help = parse({"--help"});
    EXPECT_EQ(help.commandLine.exitStatus, 0);
    for (const char* option : {"--help", "--version", "--screenshot", "--animation", "--time",
                               "--size", "--window", "PATH"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    const Parsed version = parse({"--version"});
    EXPECT_EQ(version.commandLine.exitStatus, 0);
    EXPECT_EQ(version.output.rfind("Velmora ", 0), 0u) << version.output;
    EXPECT_EQ(help.errors + version.errors, "");
}

// Each wrong call ends with status 2 and one line on standard error that names the option.
TEST(CommandLine, AWrongOptionIsOneLineAndStatusTwo) {
    const std::vector<std::pair<std::vector<const char*>, std::string>> wrongCalls = {
        {{"--bogus"}, "--bogus"},
        {{"--screenshot"}, "--screenshot"},
        {{"--screenshot", "a.png"}, "PATH"},
        {{"--screenshot", "a.jpg", "m.mesh"}, "a.jpg"},
        {{"--screenshot", "absent-folder", "m.mesh"}, "absent-folder"},
        {{"--animation", "walk", "m.mesh"}, "--screenshot"},
        {{"--screenshot", "a.png", "--time", "-1", "m.mesh"}, "--time"},
        {{"--screenshot", "a.png", "--time", "soon", "m.mesh"}, "--time"},
        {{"--screenshot", "a.png", "--time", "nan", "m.mesh"}, "--time"},
        {{"--screenshot", "a.png", "--size", "800", "m.mesh"}, "--size"},
        {{"--screenshot", "a.png", "--size", "0x600", "m.mesh"}, "--size"},
        {{"--screenshot", "a.png", "--size", "800x16385", "m.mesh"}, "--size"},
        {{"--screenshot", "a.png", "--size", "-8x6", "m.mesh"}, "--size"},
        {{"--window", "1280", "m.mesh"}, "--window"},
        {{"--gallery", "out"}, "PATH"},
        {{"--gallery", "out", "--screenshot", "a.png", "m.mesh"}, "--gallery"},
        {{"--size", "80x60", "m.mesh"}, "--gallery"},
        {{"--window", "0x600", "m.mesh"}, "--window"},
    };
    for (const auto& [arguments, named] : wrongCalls) {
        const Parsed parsed = parse(arguments);
        EXPECT_EQ(parsed.commandLine.exitStatus, 2) << named;
        EXPECT_EQ(parsed.output, "");
        EXPECT_EQ(parsed.errors.rfind("Velmora: ", 0), 0u) << parsed.errors;
        EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 1) << parsed.errors;
        EXPECT_NE(parsed.errors.find(named), std::string::npos) << parsed.errors;
    }
}

class ModelPaths : public ::testing::Test {
protected:
    fs::path top = fs::temp_directory_path() / ("velmora-paths-" + std::to_string(getpid()));

    void SetUp() override {
        fs::remove_all(top);
        fs::create_directories(top);
    }
    void TearDown() override { fs::remove_all(top); }
};

TEST_F(ModelPaths, TheWorkingDirectoryHoldingAnyConfigurationFileIsTheConfigurationFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(top);
    const fs::path withoutFiles = configurationFolder();
    std::ofstream("ogre.cfg") << "";
    const fs::path withOne = configurationFolder();
    fs::current_path(before);
    EXPECT_EQ(withOne, fs::path());
    // The test program has no data folder beside it or in share/velmora.
    EXPECT_EQ(withoutFiles, fs::path());
    EXPECT_EQ(locationInConfiguration("/etc/velmora", "gui"), "/etc/velmora/gui");
    EXPECT_EQ(locationInConfiguration("/etc/velmora", "/usr/share"), "/usr/share");
    EXPECT_EQ(locationInConfiguration("", "gui"), "gui");
}

} // namespace
