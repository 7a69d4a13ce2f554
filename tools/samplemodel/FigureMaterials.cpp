#include "FigureMaterials.h"

#include "FigureBody.h"
#include "ToeeFiles.h"

#include <functional>

namespace samplemodel {
namespace {

const std::string artDirectory = "art/meshes/sample/";
constexpr int textureSize = 64;

using Pattern = std::function<uint32_t(int x, int y)>;

// Warm skin with faint freckles.
uint32_t skinPixel(int x, int y) {
    return (x * 7 + y * 13) % 29 == 0 ? 0xFFC08868 : 0xFFE8B896;
}

// A blue check with light seams every 16 texels.
uint32_t clothPixel(int x, int y) {
    if (x % 16 == 0 || y % 16 == 0) {
        return 0xFFD8D8E8;
    }
    return (x / 8 + y / 8) % 2 == 0 ? 0xFF2848A0 : 0xFF203470;
}

// Brown leather in diagonal bands.
uint32_t leatherPixel(int x, int y) {
    return (x + y) % 12 < 6 ? 0xFF6A4020 : 0xFF583418;
}

const std::vector<Pattern>& patterns() {
    static const std::vector<Pattern> byMaterial = {skinPixel, clothPixel, leatherPixel};
    return byMaterial;
}

std::string texture(const Pattern& pattern) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < textureSize; ++y) {
        for (int x = 0; x < textureSize; ++x) {
            pixels.push_back(pattern(x, y));
        }
    }
    return writeTga(textureSize, textureSize, pixels);
}

} // namespace

std::vector<std::string> materialPaths() {
    std::vector<std::string> paths;
    for (const std::string& name : materialNames()) {
        paths.push_back(artDirectory + name + ".mdf");
    }
    return paths;
}

std::vector<NamedFile> mdfFiles() {
    std::vector<NamedFile> files;
    for (const std::string& name : materialNames()) {
        files.emplace_back(name + ".mdf", writeMdf({artDirectory + name + ".tga"}));
    }
    return files;
}

std::vector<NamedFile> textureFiles() {
    std::vector<NamedFile> files;
    for (size_t m = 0; m < materialNames().size(); ++m) {
        files.emplace_back(materialNames()[m] + ".tga", texture(patterns().at(m)));
    }
    return files;
}

} // namespace samplemodel
