// write_glb <folder> <name>: converts folder/name.skm (with its SKA and MDF files) in this
// process and writes folder/name.glb, taking textures from the folder; the writer's warnings and
// missing textures go to standard error, and the exit status is 1 when there were any.
#include "HeadlessEngine.h"
#include "InProcessModel.h"

#include <exception>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: write_glb <folder> <name>\n";
        return 2;
    }
    try {
        HeadlessEngine engine("");
        const std::string folder = argv[1];
        const std::string name = argv[2];
        const InProcessModel model = buildModel(folder, name);
        const GlbResult glb =
            writeGlb(*model.mesh, *model.skeleton, model.materials, texturesIn(folder));
        std::ofstream(folder + "/" + name + ".glb", std::ios::binary) << glb.bytes();
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
