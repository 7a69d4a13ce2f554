// write_sample_glb <folder>: writes the sample figure's model files into the folder and
// figure.glb beside them, converted in this process; the writer's warnings go to standard
// error, and the exit status is 1 when there were any.
#include "HeadlessEngine.h"
#include "InProcessModel.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_sample_glb <folder>\n";
        return 2;
    }
    try {
        HeadlessEngine engine("");
        const std::string folder = argv[1];
        std::filesystem::create_directories(folder);
        const GlbResult glb = sampleFigureGlb(folder);
        std::ofstream(folder + "/figure.glb", std::ios::binary) << glb.bytes;
        for (const std::string& warning : glb.warnings) {
            std::cerr << warning << '\n';
        }
        for (const std::string& texture : glb.missingTextures) {
            std::cerr << "missing texture " << texture << '\n';
        }
        return glb.warnings.empty() && glb.missingTextures.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
