#include "CommandLine.h"
#include "SplitPath.h"
#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace {

struct Parsed {
    bool accepted;
    std::string output;
    ConversionOptions options;
};

Parsed parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "Tarnwick");
    Parsed parsed;
    testing::internal::CaptureStdout();
    parsed.accepted =
        parseCommandLine(parsed.options, static_cast<int>(arguments.size()), arguments.data());
    parsed.output = testing::internal::GetCapturedStdout();
    return parsed;
}

TEST(SplitPathTest, TakesPathsApartAtTheLastSeparatorAndDot) {
    struct Case {
        const char* path;
        const char* directory;
        const char* baseName;
        const char* extension;
    };
    const Case cases[] = {
        {"C:\\data\\knight.skm", "C:\\data\\", "knight", ".skm"},
        {"out/hero", "out/", "hero", ""},
        {"a.b/file", "a.b/", "file", ""},
        {"x.tar.gz", "", "x.tar", ".gz"},
        {".skm", "", "", ".skm"},
        {"C:/data\\sub/model.skm", "C:/data\\sub/", "model", ".skm"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        const PathParts parts = splitPath(c.path);
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.baseName, c.baseName) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
}

TEST(CommandLineTest, RefusesWithTheUsageOrOneErrorText) {
    const Parsed none = parse({});
    EXPECT_FALSE(none.accepted);
    EXPECT_EQ(none.output,
              "\nTarnwick: Convert files data from toee SKM,SKA and MDF formats to Ogre "
              ".Mesh,.Skeleton,.Material respectively.\n"
              "Usage: Tarnwick [options] sourcefile [destfile] \n"
              "Program try to find SKA file with name of SKM and material files in sourcefile "
              "directory.\n-i option for interactive mode\n\n");

    const Parsed switchOnly = parse({"-i"});
    EXPECT_FALSE(switchOnly.accepted);
    EXPECT_EQ(switchOnly.output, "Source file missed.");

    for (const char* source : {"model.Skm", "model", "model.skm.bak", "-I"}) {
        const Parsed wrong = parse({source});
        EXPECT_FALSE(wrong.accepted) << source;
        EXPECT_EQ(wrong.output, "File has wrong extension.") << source;
    }
}

TEST(CommandLineTest, DerivesTheMeshBesideTheSource) {
    const Parsed parsed = parse({"C:\\data\\model.skm"});
    ASSERT_TRUE(parsed.accepted);
    EXPECT_EQ(parsed.output, "");
    EXPECT_EQ(parsed.options.sourceDir, "C:\\data\\");
    EXPECT_EQ(parsed.options.sourceName, "model");
    EXPECT_EQ(parsed.options.sourceExt, ".skm");
    EXPECT_EQ(parsed.options.destDir, "C:\\data\\");
    EXPECT_EQ(parsed.options.destName, "model");
    EXPECT_EQ(parsed.options.destExt, ".mesh");
    EXPECT_EQ(parsed.options.destPath, "C:\\data\\model.mesh");
    EXPECT_FALSE(parsed.options.interactive);
}

TEST(CommandLineTest, SwitchCountsOnlyAsTheWholeFirstArgument) {
    const Parsed interactive = parse({"-i", "model.SKM"});
    ASSERT_TRUE(interactive.accepted);
    EXPECT_TRUE(interactive.options.interactive);
    EXPECT_EQ(interactive.options.sourceExt, ".SKM");
    EXPECT_EQ(interactive.options.destPath, "model.mesh");

    // After the source, "-i" is simply the destination.
    const Parsed late = parse({"model.skm", "-i"});
    ASSERT_TRUE(late.accepted);
    EXPECT_FALSE(late.options.interactive);
    EXPECT_EQ(late.options.destPath, "-i");
    EXPECT_EQ(late.options.destDir, "");
    EXPECT_EQ(late.options.destName, "-i");
}

TEST(CommandLineTest, TakesTheDestinationAsGivenAndIgnoresFurtherArguments) {
    const Parsed noExtension = parse({"model.skm", "out/hero", "ignored.mesh"});
    ASSERT_TRUE(noExtension.accepted);
    EXPECT_EQ(noExtension.options.destPath, "out/hero");
    EXPECT_EQ(noExtension.options.destDir, "out/");
    EXPECT_EQ(noExtension.options.destName, "hero");
    EXPECT_EQ(noExtension.options.destExt, "");
    EXPECT_EQ(noExtension.options.sourceDir, "");
}

TEST(CommandLineTest, RefusesADestinationThatWouldOverwriteAnInputOrAnotherOutput) {
    const TemporaryDirectory work;
    const std::string model = work.path() + "/model";
    std::ofstream(model + ".skm") << "model";
    std::ofstream(model + ".ska") << "animations";
    const struct {
        std::string destination;
        const char* clash;
    } cases[] = {
        {model + ".skm", "the source file"},
        {work.path() + "/./model.skm", "the source file"},
        {model + ".ska", "the SKA file"},
        {"out/hero.skeleton", "the skeleton file"},
        {"out/hero.material", "the material file"},
    };
    for (const auto& c : cases) {
        const Parsed parsed = parse({(model + ".skm").c_str(), c.destination.c_str()});
        EXPECT_FALSE(parsed.accepted) << c.destination;
        EXPECT_EQ(parsed.output, std::string("Destination would overwrite ") + c.clash + ".");
    }
    EXPECT_TRUE(parse({(model + ".skm").c_str(), (model + ".SKELETON").c_str()}).accepted);
    EXPECT_TRUE(parse({(model + ".skm").c_str(), (model + ".mesh").c_str()}).accepted);
}

} // namespace
