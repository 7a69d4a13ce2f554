#include "SampleFigure.h"

#include "FigureAnimations.h"
#include "FigureBody.h"
#include "FigureMaterials.h"
#include "FigureSkeleton.h"

#include <filesystem>

using namespace samplemodel;

namespace {

samplemodel::SkaBoneDesc skaBone(const FigureBone& bone) {
    const Transform& bind = bone.bind;
    samplemodel::SkaBoneDesc desc;
    desc.name = bone.name;
    desc.bindRotationXyzw = {float(bind.rotation.x), float(bind.rotation.y), float(bind.rotation.z),
                             float(bind.rotation.w)};
    desc.bindPosition = {float(bind.position.x), float(bind.position.y), float(bind.position.z)};
    return desc;
}

samplemodel::SkmDesc figureSkm(const std::vector<FigureBone>& bones) {
    samplemodel::SkmDesc skm;
    for (const FigureBone& bone : bones) {
        skm.bones.push_back({bone.name, bone.parent});
    }
    skm.materialPaths = materialPaths();
    buildFigureBody(bones, skm);
    return skm;
}

samplemodel::SkaDesc figureSka(const std::vector<FigureBone>& bones) {
    samplemodel::SkaDesc ska;
    for (const FigureBone& bone : bones) {
        ska.bones.push_back(skaBone(bone));
    }
    for (const Clip& clip : figureClips()) {
        ska.animations.push_back(encodeClip(clip, bindTransforms(bones)));
    }
    return ska;
}

} // namespace

SampleModel makeSampleFigure() {
    const std::vector<FigureBone> bones = figureBones();
    return {"figure", figureSkm(bones), figureSka(bones), mdfFiles(), textureFiles()};
}

std::vector<std::pair<std::string, std::string>> sampleModelFiles(const SampleModel& model) {
    std::vector<std::pair<std::string, std::string>> files = {
        {model.name + ".skm", samplemodel::writeSkm(model.skm)},
        {model.name + ".ska", samplemodel::writeSka(model.ska)},
    };
    files.insert(files.end(), model.mdfFiles.begin(), model.mdfFiles.end());
    files.insert(files.end(), model.textures.begin(), model.textures.end());
    return files;
}

void writeSampleModel(const SampleModel& model, const std::string& directory) {
    for (const auto& [name, bytes] : sampleModelFiles(model)) {
        samplemodel::writeFile((std::filesystem::path(directory) / name).string(), bytes);
    }
}
