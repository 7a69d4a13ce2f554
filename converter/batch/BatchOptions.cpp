#include "BatchOptions.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <thread>

namespace fs = std::filesystem;

const char* const batchVersion = TARNWICK_BATCH_VERSION;

namespace {

constexpr int usageError = 2;

const std::map<std::string, Ogre::MeshVersion> meshVersions = {{"1.10", Ogre::MESH_VERSION_LATEST},
                                                               {"1.8", Ogre::MESH_VERSION_1_8}};

const std::map<std::string, OutputFormat> formats = {
    {"ogre", OutputFormat::ogre}, {"gltf", OutputFormat::gltf}, {"both", OutputFormat::both}};

int defaultJobs() {
    return std::max(1U, std::thread::hardware_concurrency());
}

// CLI11's own positive-number check names the whole range of a double in its message and lets
// "nan" through; these say what they want.
template <typename Number, typename Accept>
CLI::Validator numberCheck(const std::string& wanted, const Accept& accept) {
    return CLI::Validator(
        [wanted, accept](const std::string& text) {
            Number value{};
            const char* const end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, value);
            const bool valid = error == std::errc() && stop == end && accept(value);
            return valid ? std::string() : "wants " + wanted + ", not " + text;
        },
        "");
}

const CLI::Validator wholeNumberFromOne =
    numberCheck<int>("a whole number from 1 up", [](int value) { return value >= 1; });
const CLI::Validator secondsAboveZero = numberCheck<double>(
    "a number of seconds above 0", [](double value) { return std::isfinite(value) && value > 0; });

// The words of the options whose value is one of a few names, before they are looked up.
struct NamedChoices {
    std::string meshVersion = "1.10";
    std::string format = "ogre";
};

void describeOptions(CLI::App& app, BatchOptions& options, NamedChoices& choices) {
    app.add_option("SOURCE_ROOT", options.sourceRoot, "folder searched for .skm files at any depth")
        ->required();
    app.add_option("OUTPUT_DIR", options.outputDir, "where the converted tree is written")
        ->required();
    app.add_option("-j,--jobs", options.jobs, "worker processes (default: the processors)")
        ->check(wholeNumberFromOne);
    app.add_option("--data-root", options.dataRoot,
                   "where the texture paths of MDF files are resolved (default: SOURCE_ROOT)");
    app.add_flag("--force", options.force, "convert every model, also those up to date");
    app.add_option("--report", options.reportFile, "write a JSON report to this file");
    app.add_option("--timeout", options.timeoutSeconds, "time limit in seconds for one model")
        ->check(secondsAboveZero);
    app.add_option("--format", choices.format,
                   "what each model becomes: ogre, the .skeleton, .mesh and .material with their "
                   "textures (the default); gltf, one binary glTF 2.0 file (.glb) holding the "
                   "mesh, skeleton, animations, materials and textures; or both")
        ->check(CLI::IsMember({"ogre", "gltf", "both"}));
    app.add_option("--mesh-version", choices.meshVersion,
                   "mesh format: 1.10, the engine's current one, byte for byte as Tarnwick "
                   "writes it; or 1.8, which Assimp reads")
        ->check(CLI::IsMember({"1.10", "1.8"}));
    app.add_flag("-q,--quiet", options.quiet, "no progress line");
    app.add_flag("--no-wait", options.noWait,
                 "end at once, with status 2, when another run is using OUTPUT_DIR");
    app.set_version_flag("--version", batchVersion);
}

// The report's folder is made as OUTPUT_DIR is, so that a long run cannot end without its report
// for want of a folder.
std::string prepareReportFolder(const std::string& reportFile) {
    std::error_code error;
    if (fs::is_directory(reportFile, error)) {
        return "--report names a folder: " + reportFile;
    }
    const fs::path folder = fs::path(reportFile).parent_path();
    if (folder.empty()) {
        return "";
    }
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) {
        return "cannot create the folder of --report " + reportFile +
               (error ? ": " + error.message() : "");
    }
    return "";
}

// The folders must be usable before any worker starts; a message on failure.
std::string checkFolders(BatchOptions& options) {
    std::error_code error;
    if (!fs::is_directory(options.sourceRoot, error)) {
        return "SOURCE_ROOT is not a folder: " + options.sourceRoot;
    }
    if (options.dataRoot.empty()) {
        options.dataRoot = options.sourceRoot;
    } else if (!fs::is_directory(options.dataRoot, error)) {
        return "--data-root is not a folder: " + options.dataRoot;
    }
    const std::string reportProblem = prepareReportFolder(options.reportFile);
    if (!reportProblem.empty()) {
        return reportProblem;
    }
    fs::create_directories(options.outputDir, error);
    if (!fs::is_directory(options.outputDir)) {
        return "cannot create OUTPUT_DIR " + options.outputDir +
               (error ? ": " + error.message() : "");
    }
    return "";
}

int usageFailure(const std::string& message) {
    std::cerr << "tarnwick-batch: " << message << " (see --help)\n";
    return usageError;
}

} // namespace

ParsedCommandLine parseBatchCommandLine(int argc, const char* const* argv) {
    CLI::App app("Converts every .skm model under SOURCE_ROOT into OUTPUT_DIR, keeping the "
                 "folders, with the textures its materials name.",
                 "tarnwick-batch");
    BatchOptions options;
    options.jobs = defaultJobs();
    NamedChoices choices;
    describeOptions(app, options, choices);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {
        return {std::nullopt, app.exit(success)};
    } catch (const CLI::ParseError& error) {
        return {std::nullopt, usageFailure(error.what())};
    }
    options.meshVersion = meshVersions.at(choices.meshVersion);
    options.format = formats.at(choices.format);
    const std::string problem = checkFolders(options);
    if (!problem.empty()) {
        return {std::nullopt, usageFailure(problem)};
    }
    return {options, 0};
}
