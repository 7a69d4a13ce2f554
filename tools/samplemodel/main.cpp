// write_sample_model <directory>: writes the sample figure's model files there, one line
// per file written.

#include "SampleFigure.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_sample_model <directory>\n";
        return 2;
    }
    try {
        const std::filesystem::path directory = argv[1];
        std::filesystem::create_directories(directory);
        const SampleModel model = makeSampleFigure();
        writeSampleModel(model, directory.string());
        for (const auto& file : sampleModelFiles(model)) {
            std::cout << (directory / file.first).string() << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << "write_sample_model: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
