// write_fuzz_seeds <folder>: writes the fuzzers' seed corpora into <folder>/skm, /ska and /mdf:
// sound files cut from the sample figure, each with a few copies broken by hand the ways
// damaged game files break. The corpora under tests/fuzz/corpus were written by it.
#include "ByteWriter.h"
#include "SampleFigure.h"
#include "TestBytes.h"
#include "skeleton/SkaRecords.h"
#include "skm/SkmRecords.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

using Seeds = std::vector<std::pair<std::string, std::string>>; // file name, bytes

std::string patched(std::string bytes, std::size_t offset, int32_t value) {
    patchInt32(bytes, offset, value);
    return bytes;
}

// The figure's bones and materials with only the first vertices and the faces among them, so
// that a seed stays a few kilobytes.
samplemodel::SkmDesc smallFigureSkm(const SampleModel& figure, std::size_t vertexCount) {
    samplemodel::SkmDesc skm = figure.skm;
    skm.vertices.resize(vertexCount);
    skm.faces.clear();
    for (const samplemodel::SkmFaceDesc& face : figure.skm.faces) {
        if (std::all_of(face.vertexIndex.begin(), face.vertexIndex.end(),
                        [&](uint16_t index) { return index < vertexCount; })) {
            skm.faces.push_back(face);
        }
    }
    return skm;
}

Seeds skmSeeds(const SampleModel& figure) {
    const samplemodel::SkmDesc sound = smallFigureSkm(figure, 40);
    const std::string bytes = samplemodel::writeSkm(sound);
    samplemodel::SkmDesc bonesOnly;
    bonesOnly.bones = sound.bones;
    samplemodel::SkmDesc twinNames = sound;
    twinNames.bones[2].name = twinNames.bones[1].name;
    samplemodel::SkmDesc cycle = sound;
    cycle.bones[0].parent = static_cast<int16_t>(cycle.bones.size() - 1);
    samplemodel::SkmDesc outOfRange = sound;
    outOfRange.faces.push_back({9, {0, 1, 2}});
    outOfRange.faces.push_back({0, {0, 1, 400}});
    outOfRange.vertices[0].weightCount = 7;
    outOfRange.vertices[1].weightCount = -1;
    outOfRange.vertices[2].boneIndex[0] = 300;
    outOfRange.bones[3].parent = 99;
    return {{"figure.skm", bytes},
            {"bones-only.skm", samplemodel::writeSkm(bonesOnly)},
            {"header-only.skm", bytes.substr(0, 40)},
            {"cut-short.skm", bytes.substr(0, bytes.size() / 2)},
            {"vertex-count-huge.skm", patched(bytes, skmHeaderField::vertexCount, 0x7FFFFFFF)},
            {"material-count-negative.skm", patched(bytes, skmHeaderField::materialCount, -3)},
            {"face-table-past-end.skm", patched(bytes, skmHeaderField::faceOffset, 1 << 30)},
            {"twin-bone-names.skm", samplemodel::writeSkm(twinNames)},
            {"parent-cycle.skm", samplemodel::writeSkm(cycle)},
            {"indices-out-of-range.skm", samplemodel::writeSkm(outOfRange)}};
}

// One short animation with every kind of record, small enough to be mutated quickly.
samplemodel::SkaDesc smallFigureSka(const SampleModel& figure) {
    samplemodel::SkaDesc ska = figure.ska;
    ska.animations.resize(1);
    samplemodel::SkaStreamDesc& stream = ska.animations[0].streams[0];
    stream.frameCount = 4;
    stream.boneStates.resize(std::min<std::size_t>(stream.boneStates.size(), 2));
    stream.frames.resize(std::min<std::size_t>(stream.frames.size(), 2));
    for (samplemodel::SkaFrameDesc& frame : stream.frames) {
        frame.keys.resize(std::min<std::size_t>(frame.keys.size(), 3));
    }
    samplemodel::SkaBoneKeyDesc& key = stream.frames[0].keys[0];
    key.hasScale = key.hasRotation = key.hasTranslation = true;
    key.rotationXyzw = {0, 0, 23170, 23170};
    key.translation = {10, -20, 30};
    return ska;
}

// Offsets of the small SKA: the header, the bone table, then the one animation header.
std::size_t animationHeader(const samplemodel::SkaDesc& ska) {
    return skaHeaderSize + skaBoneSize * ska.bones.size();
}

Seeds skaSeeds(const SampleModel& figure) {
    const samplemodel::SkaDesc sound = smallFigureSka(figure);
    const std::string bytes = samplemodel::writeSka(sound);
    const std::size_t animation = animationHeader(sound);
    samplemodel::SkaDesc badTimes = sound;
    badTimes.animations.push_back(sound.animations[0]);
    badTimes.animations.push_back(sound.animations[0]);
    badTimes.animations[0].streams[0].frameTime = 0;
    badTimes.animations[1].streams[0].frameTime = NAN;
    badTimes.animations[2].name = "";
    samplemodel::SkaDesc badBones = sound;
    badBones.bones[0].name = "wing";
    badBones.bones[1].bindRotationXyzw = {0, 0, 0, 0};
    badBones.bones[2].bindPosition = {INFINITY, 0, 0};
    badBones.variationCount = 2;
    samplemodel::SkaDesc badKeys = sound;
    samplemodel::SkaBoneKeyDesc& key = badKeys.animations[0].streams[0].frames[0].keys[0];
    key.rotationFrame = 40;
    key.bone = 4000;
    badKeys.animations[0].streams[0].translationFactor = INFINITY;
    return {
        {"figure.ska", samplemodel::writeSka(figure.ska)},
        {"one-animation.ska", bytes},
        {"key-data-cut.ska", bytes.substr(0, bytes.size() - 2)},
        {"animation-count-huge.ska", patched(bytes, skaHeaderField::animationCount, 0x7FFFFFFF)},
        {"animation-offset-negative.ska", patched(bytes, skaHeaderField::animationOffset, -100000)},
        {"stream-count-huge.ska", patched(bytes, animation + skaAnimationField::streamCount, -1)},
        {"streams-read-the-header.ska",
         patched(bytes, animation + skaAnimationField::streamSlots + skaStreamField::dataOffset,
                 0)},
        {"bad-frame-times.ska", samplemodel::writeSka(badTimes)},
        {"bad-bones.ska", samplemodel::writeSka(badBones)},
        {"bad-keys.ska", samplemodel::writeSka(badKeys)}};
}

Seeds mdfSeeds(const SampleModel& figure) {
    Seeds seeds(figure.mdfFiles.begin(), figure.mdfFiles.end());
    seeds.emplace_back("edge-lines.mdf", "Textured\n"
                                         "texture \"lower.tga\"\n"
                                         " Texture \"indented.tga\"\n"
                                         "Texture \"one quote.tga\n"
                                         "Texture 0 \"a\\b/c.d.tga\" tail\r\n"
                                         "Texture \"\"\n"
                                         "Texture \"no-dot\"");
    return seeds;
}

void writeSeeds(const fs::path& folder, const Seeds& seeds) {
    fs::create_directories(folder);
    for (const auto& [name, bytes] : seeds) {
        samplemodel::writeFile((folder / name).string(), bytes);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_fuzz_seeds <folder>\n";
        return 2;
    }
    try {
        const SampleModel figure = makeSampleFigure();
        const fs::path folder = argv[1];
        writeSeeds(folder / "skm", skmSeeds(figure));
        writeSeeds(folder / "ska", skaSeeds(figure));
        writeSeeds(folder / "mdf", mdfSeeds(figure));
    } catch (const std::exception& error) {
        std::cerr << "write_fuzz_seeds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
