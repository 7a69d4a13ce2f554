#include "SmallModel.h"

namespace {

samplemodel::SkmVertexDesc vertex(std::array<float, 3> position, std::array<float, 2> uv,
                                  std::vector<std::pair<uint16_t, float>> weights) {
    samplemodel::SkmVertexDesc v;
    v.position = position;
    v.normal = {0, 0, 1};
    v.uv = uv;
    v.weightCount = static_cast<int16_t>(weights.size());
    for (std::size_t k = 0; k < weights.size(); ++k) {
        v.boneIndex[k] = weights[k].first;
        v.boneWeight[k] = weights[k].second;
    }
    return v;
}

samplemodel::SkmDesc smallSkm() {
    samplemodel::SkmDesc skm;
    skm.bones = {{"tip", 2}, {"root", -1}, {"arm", 1}};
    skm.materialPaths = {"art\\meshes\\small\\body.mdf", "art/meshes/small/head",
                         "art/meshes/small/unused.mdf"};
    skm.vertices = {vertex({3, 4, 0}, {0.5f, 0.25f}, {{1, 1.0f}}),
                    vertex({-1, -1, -1}, {0.0f, 1.0f}, {{0, 0.5f}, {1, 0.25f}, {2, 0.5f}}),
                    vertex({0, 1, 2}, {1.0f, 0.0f}, {})};
    skm.faces = {{1, {0, 1, 2}}, {0, {2, 1, 0}}, {1, {1, 2, 0}}};
    return skm;
}

samplemodel::SkaBoneKeyDesc rotationKey(uint16_t bone, int16_t frame, std::array<int16_t, 4> xyzw) {
    return {bone, false, 0, {}, true, frame, xyzw};
}

samplemodel::SkaBoneKeyDesc translationKey(uint16_t bone, int16_t frame,
                                           std::array<int16_t, 3> xyz) {
    return {bone, false, 0, {}, false, 0, {}, true, frame, xyz};
}

// "walk": ten frames of 0.3 s. The arm (binding: 90 degrees about z at (1, 2, 3)) turns to
// identity at frame 3 and 90 degrees about x at frame 7, and reaches its binding position at
// frame 7; the root turns to identity at frame 3; the tip (a bone word without channels) only gets
// a track. Stream 1 is never built.
samplemodel::SkaAnimationDesc walk() {
    samplemodel::SkaStreamDesc first;
    first.frameCount = 10;
    first.frameTime = 30;
    first.scaleFactor = 1;
    first.translationFactor = 0.5f;
    first.boneStates = {{0, {}}, {1, {}}, {2, {}}};
    samplemodel::SkaBoneKeyDesc armAtRest = rotationKey(2, 3, {0, 0, 0, 32767});
    armAtRest.hasScale = true;
    armAtRest.scaleFrame = 3;
    armAtRest.scale = {2, 2, 2};
    first.frames = {
        {0, {armAtRest, rotationKey(1, 3, {0, 0, 0, 32767}), {}}},
        {1, {rotationKey(2, 7, {23170, 0, 0, 23170}), translationKey(2, 7, {2, 4, 6})}}};

    samplemodel::SkaStreamDesc second = first;
    second.frames = {{0, {translationKey(1, 1, {100, 100, 100})}}};
    return {"walk", 0, {first, second}};
}

samplemodel::SkaAnimationDesc idle() {
    samplemodel::SkaStreamDesc only;
    only.frameCount = 31;
    only.frameTime = 100;
    samplemodel::SkaAnimationDesc animation{"idle", 0, {only}};
    return animation;
}

samplemodel::SkaDesc smallSka() {
    samplemodel::SkaDesc ska;
    samplemodel::SkaBoneDesc arm{"arm", {1, 1, 1}, {0, 0, 0.70710678f, 0.70710678f}, {1, 2, 3}};
    samplemodel::SkaBoneDesc root{"root", {1, 1, 1}, {0, 0, 0, 1}, {0, 10, 0}};
    ska.bones = {arm, root};
    ska.animations = {walk(), idle()};
    return ska;
}

} // namespace

SmallModel makeSmallModel() {
    return {smallSkm(),
            smallSka(),
            {{"body.mdf", "Textured\nTexture \"art/meshes/small/body.tga\"\n"},
             {"head.mdf", "Texture 0 \"art\\meshes\\small\\head.tga\" trailing\r\n"},
             {"unused.mdf", "Specular 1 1 1\n"}}};
}

void writeSmallModel(const SmallModel& model, const std::string& directory,
                     const std::string& name) {
    samplemodel::writeFile(directory + "/" + name + ".skm", samplemodel::writeSkm(model.skm));
    samplemodel::writeFile(directory + "/" + name + ".ska", samplemodel::writeSka(model.ska));
    for (const auto& [fileName, text] : model.mdfFiles) {
        samplemodel::writeFile(directory + "/" + fileName, text);
    }
}
