#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <regex>

namespace {

constexpr unsigned int largestSide = 16384;

// "WxH" with both sides from 1 to `largestSide` pixels; false for anything else.
bool parseSize(const std::string& text, unsigned int& width, unsigned int& height) {
    static const std::regex pattern("([0-9]{1,5})x([0-9]{1,5})");
    std::smatch sides;
    if (!std::regex_match(text, sides, pattern))
        return false;
    width = static_cast<unsigned int>(std::stoul(sides[1]));
    height = static_cast<unsigned int>(std::stoul(sides[2]));
    return width >= 1 && height >= 1 && width <= largestSide && height <= largestSide;
}

bool isPngOrFolder(const std::string& file) {
    std::error_code ignored;
    return std::filesystem::path(file).extension() == ".png" ||
           std::filesystem::is_directory(file, ignored);
}

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// An option of the form "WxH" setting `width` and `height`.
CLI::Option* addSizeOption(CLI::App& app, const std::string& name, unsigned int& width,
                           unsigned int& height, const std::string& description) {
    return app
        .add_option_function<std::string>(
            name,
            [name, &width, &height](const std::string& size) {
                if (!parseSize(size, width, height))
                    throw CLI::ValidationError(name, "wants WxH, each side 1 to " +
                                                         std::to_string(largestSide) +
                                                         " pixels, not " + size);
            },
            description)
        ->type_name("WxH");
}

void describeOptions(CLI::App& app, ViewerOptions& options) {
    app.set_version_flag("--version", "Velmora " VELMORA_VERSION);
    CLI::Option* screenshot =
        app.add_option("--screenshot", options.screenshotFile,
                       "Render the first mesh to this PNG and exit; when it names a folder, "
                       "write <mesh>.png there for every mesh of the PATHs")
            ->type_name("FILE.png")
            ->check(CLI::Validator(
                [](const std::string& file) {
                    return isPngOrFolder(file) ? "" : "wants a .png file or a folder, not " + file;
                },
                ""));
    CLI::Option* gallery =
        app.add_option("--gallery", options.galleryFolder,
                       "Draw every model of the PATHs into OUT_DIR/<relative path>.png and write "
                       "OUT_DIR/index.html, a page of them all")
            ->type_name("OUT_DIR")
            ->excludes(screenshot);
    app.add_option("--animation", options.animation, "Pose the pictures' models in this animation")
        ->type_name("NAME");
    app.add_option_function<float>(
           "--time",
           [&options](float seconds) {
               if (!(seconds >= 0.0f && std::isfinite(seconds)))
                   throw CLI::ValidationError("--time", "wants 0 seconds or more");
               options.time = seconds;
           },
           "Seconds into the animation (default 0)")
        ->type_name("SECONDS");
    addSizeOption(app, "--size", options.width, options.height,
                  "Size of the pictures (default 800x600)");
    addSizeOption(app, "--window", options.windowWidth, options.windowHeight,
                  "Size of the window at start (default: as ogre.cfg says)");
    CLI::Option* paths = app.add_option("PATH", options.paths,
                                        "A .mesh file or a folder of them; the first is shown "
                                        "(default: the folders of resources.cfg)")
                             ->type_name("PATH");
    screenshot->needs(paths);
    gallery->needs(paths);
}

// The pose and the size are those of pictures, which only the two picture runs draw.
void requirePictureRun(const CLI::App& app) {
    if (app.count("--screenshot") > 0 || app.count("--gallery") > 0)
        return;
    for (const char* pictureOption : {"--animation", "--time", "--size"})
        if (app.count(pictureOption) > 0)
            throw CLI::ValidationError(pictureOption, "needs --screenshot or --gallery");
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& output,
                             std::ostream& errors) {
    CommandLine result;
    CLI::App app("Velmora shows OGRE meshes and plays their animations.", "Velmora");
    describeOptions(app, result.options);
    try {
        app.parse(argc, argv);
        requirePictureRun(app);
    } catch (const CLI::CallForHelp&) {
        output << app.help();
        result.exitStatus = 0;
    } catch (const CLI::CallForVersion& version) {
        output << version.what() << '\n';
        result.exitStatus = 0;
    } catch (const CLI::ParseError& error) {
        errors << "Velmora: " << oneLine(error.what()) << " (see Velmora --help)\n";
        result.exitStatus = 2;
    }
    return result;
}
