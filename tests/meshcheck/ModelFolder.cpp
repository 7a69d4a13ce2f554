#include "ModelFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void run(const std::string& command) {
    if (std::system((command + " >/dev/null").c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

} // namespace

ModelFolder::ModelFolder() {
    std::string pattern = (fs::temp_directory_path() / "velmora-models-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a folder for the models");
    root = pattern;
    fs::create_directory(root / "models");
    run(std::string(WRITE_SAMPLE_MODEL) + " " + (root / "sample").string());
    run(std::string(TARNWICK) + " " + (root / "sample" / "figure.skm").string() + " " +
        (root / "models" / meshName).string());
    mesh = readFile(root / "models" / fileName(File::mesh));
    skeleton = readFile(root / "models" / fileName(File::skeleton));
    material = readFile(root / "models" / fileName(File::material));
}

ModelFolder::~ModelFolder() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::string ModelFolder::fileName(File file) {
    switch (file) {
    case File::mesh:
        return meshName;
    case File::skeleton:
        return "figure.skeleton";
    default:
        return "figure.material";
    }
}

const std::string& ModelFolder::original(File file) const {
    return file == File::mesh ? mesh : file == File::skeleton ? skeleton : material;
}

void ModelFolder::replace(File file, const std::string& bytes) const {
    std::ofstream(root / "models" / fileName(file), std::ios::binary | std::ios::trunc) << bytes;
}

void ModelFolder::restore() const {
    for (File file : {File::mesh, File::skeleton, File::material})
        replace(file, original(file));
}
