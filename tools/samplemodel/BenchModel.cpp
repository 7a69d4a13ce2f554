#include "BenchModel.h"

#include "BenchMotion.h"
#include "BenchSkeleton.h"
#include "BenchSkin.h"

#include <stdexcept>

using namespace samplemodel;

namespace {

const std::string artDirectory = "art/meshes/bench/";
constexpr int textureSize = 8;

void checkSize(const BenchModelSize& size) {
    const int rings = size.vertices / benchRingVertices;
    if (size.vertices % benchRingVertices != 0 || rings < 2 || size.vertices > 0x10000) {
        throw std::invalid_argument("a bench model holds whole rings of " +
                                    std::to_string(benchRingVertices) +
                                    " vertices, at least two and at most 65,536 vertices");
    }
    if (size.bones < 2 || size.materials < 1 || size.materials >= rings || size.animations < 0 ||
        size.frames < 1) {
        throw std::invalid_argument("a bench model needs two bones, a material per band of "
                                    "rings and a frame per animation");
    }
}

std::string materialName(int material) {
    return "material" + std::to_string(material);
}

// Solid textures in colours far enough apart to tell the bands of rings apart.
uint32_t bandColour(int material) {
    static const uint32_t colours[] = {0xFFC04030, 0xFF30A050, 0xFF3060C0, 0xFFD0B040};
    return colours[material % 4];
}

void addMaterials(int count, SampleModel& model) {
    for (int m = 0; m < count; ++m) {
        const std::string name = materialName(m);
        model.skm.materialPaths.push_back(artDirectory + name + ".mdf");
        model.mdfFiles.emplace_back(name + ".mdf",
                                    samplemodel::writeMdf({artDirectory + name + ".tga"}));
        const std::vector<uint32_t> pixels(textureSize * textureSize, bandColour(m));
        model.textures.emplace_back(name + ".tga",
                                    samplemodel::writeTga(textureSize, textureSize, pixels));
    }
}

void addBones(const std::vector<FigureBone>& bones, SampleModel& model) {
    for (const FigureBone& bone : bones) {
        model.skm.bones.push_back({bone.name, bone.parent});
        const Quat& q = bone.bind.rotation;
        const Vec3& p = bone.bind.position;
        samplemodel::SkaBoneDesc ska{
            bone.name, {1, 1, 1}, {}, {float(p.x), float(p.y), float(p.z)}};
        ska.bindRotationXyzw = {float(q.x), float(q.y), float(q.z), float(q.w)};
        model.ska.bones.push_back(ska);
    }
}

} // namespace

BenchModelSize bigModelSize() {
    return {"big", 20000, 120, 150, 60, 4};
}

BenchModelSize typicalModelSize() {
    return {"typical", 2000, 60, 60, 30, 4};
}

SampleModel makeBenchModel(const BenchModelSize& size) {
    checkSize(size);
    SampleModel model;
    model.name = size.name;
    const std::vector<FigureBone> bones = samplemodel::chainBones(size.bones);
    addBones(bones, model);
    addMaterials(size.materials, model);
    samplemodel::buildRingTube(
        {size.vertices / benchRingVertices, benchRingVertices, size.bones, size.materials},
        model.skm);
    model.ska.animations =
        samplemodel::swayAnimations({size.animations, size.frames}, bindTransforms(bones));
    return model;
}
