#include "UpToDate.h"

#include "BatchOptions.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

int64_t modificationTime(const std::string& path) {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(path, error);
    return error ? noTime : static_cast<int64_t>(time.time_since_epoch().count());
}

std::string fileName(const std::string& path) {
    return fs::path(path).filename().string();
}

// The file a stamp must name to be whole: the mesh, or the .glb when it is written alone.
std::string mainOutput(const ModelPlan& plan) {
    if (writesOgreFiles(plan.format)) {
        return plan.conversion.destPath;
    }
    return modelPaths(plan.conversion.sourcePath, plan.conversion.destPath).glbFile;
}

} // namespace

std::string signatureOf(const ModelPlan& plan) {
    std::string signature = std::string("tarnwick-batch ") + batchVersion;
    if (writesOgreFiles(plan.format)) {
        signature += ", mesh version " + std::to_string(plan.meshVersion);
        for (const TextureCopy& texture : plan.textures) {
            signature += ", " + texture.source;
        }
    }
    if (writesGlb(plan.format)) {
        signature += plan.format == OutputFormat::gltf ? ", glTF alone" : ", with glTF";
        for (const auto& [name, file] : plan.textureFiles) {
            signature += ", " + name + " from " + file;
        }
    }
    return signature;
}

ModelStamp stampOf(const ModelPlan& plan) {
    ModelStamp stamp{signatureOf(plan), {}};
    for (const std::string& output : plan.outputs) {
        const int64_t time = modificationTime(output);
        if (time != noTime) {
            stamp.outputTimes[fileName(output)] = time;
        }
    }
    return stamp;
}

bool isUpToDate(const ModelPlan& plan, const ModelStamp* stamp) {
    if (stamp == nullptr || stamp->signature != signatureOf(plan) ||
        stamp->outputTimes.count(fileName(mainOutput(plan))) == 0) {
        return false;
    }
    int64_t newestInput = noTime;
    for (const std::string& input : plan.inputs) {
        const int64_t time = modificationTime(input);
        if (time == noTime) {
            return false; // an input that went away: the conversion says what became of it
        }
        newestInput = std::max(newestInput, time);
    }
    for (const std::string& output : plan.outputs) {
        const auto written = stamp->outputTimes.find(fileName(output));
        if (written != stamp->outputTimes.end() &&
            (modificationTime(output) != written->second || written->second <= newestInput)) {
            return false;
        }
    }
    std::error_code error;
    return std::all_of(plan.textures.begin(), plan.textures.end(), [&](const TextureCopy& copy) {
        return fs::exists(copy.destination, error);
    });
}
