// write_sample_model [--bench big|typical] <directory>: writes the sample figure's model
// files there, or with --bench those of a bench model of that size, one line per file
// written.

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

} // namespace

int main(int argc, char** argv) {
    try {
        const std::optional<SampleModel> model = chosenModel(argc, argv);
        if (!model) {
            std::cerr << "usage: write_sample_model [--bench big|typical] <directory>\n";
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
