// write_sample_model [--bench big|typical | --tree] <directory>: writes the sample figure's
// model files there, with --bench those of a bench model of that size, with --tree a small art
// tree of a dozen models; one line per file written.

#include "ArtTree.h"
#include "BenchModel.h"
#include "SampleFigure.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>

namespace {

// The model the arguments ask for, or none when they do not fit the usage.
std::optional<SampleModel> chosenModel(int argc, char** argv) {
    if (argc == 2) {
        return makeSampleFigure();
    }
    const std::string size = argc == 4 && std::string(argv[1]) == "--bench" ? argv[2] : "";
    if (size == "big") {
        return makeBenchModel(bigModelSize());
    }
    if (size == "typical") {
        return makeBenchModel(typicalModelSize());
    }
    return std::nullopt;
}

const char* const usage = "usage: write_sample_model [--bench big|typical | --tree] <directory>\n";

int writeTree(const std::string& root) {
    for (const std::string& file : samplemodel::writeArtTree(root)) {
        std::cout << (std::filesystem::path(root) / file).string() << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string first = argc > 1 ? argv[1] : "";
        if (first == "--help" || first == "-h") {
            std::cout << usage;
            return 0;
        }
        if (argc == 3 && first == "--tree") {
            return writeTree(argv[2]);
        }
        const std::optional<SampleModel> model = chosenModel(argc, argv);
        if (!model || (argc == 2 && first.rfind('-', 0) == 0)) {
            std::cerr << usage;
            return 2;
        }
        const std::filesystem::path directory = argv[argc - 1];
        std::filesystem::create_directories(directory);
        writeSampleModel(*model, directory.string());
        for (const auto& file : sampleModelFiles(*model)) {
            std::cout << (directory / file.first).string() << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << "write_sample_model: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
