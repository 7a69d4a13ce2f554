#include "UpToDate.h"

#include "BatchOptions.h"
#include "EscapedBytes.h"
#include "OutputFile.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr int64_t noTime = INT64_MIN;

int64_t modificationTime(const std::string& path) {
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(path, error);
    return error ? noTime : static_cast<int64_t>(time.time_since_epoch().count());
}

std::string fileName(const std::string& path) {
    return fs::path(path).filename().string();
}

std::map<std::string, ModelStamp> readStamps(const std::string& path) {
    std::ifstream file(path);
    const nlohmann::json stored = nlohmann::json::parse(file, nullptr, false);
    std::map<std::string, ModelStamp> stamps;
    if (!stored.is_object() || !stored.contains("models") || !stored["models"].is_object()) {
        return stamps; // missing or damaged: every model is converted again
    }
    for (const auto& [model, stamp] : stored["models"].items()) {
        if (stamp.is_object() && stamp.value("signature", nlohmann::json()).is_string() &&
            stamp.value("outputs", nlohmann::json()).is_object()) {
            ModelStamp& entry = stamps[unescapeBytes(model)];
            entry.signature = unescapeBytes(stamp["signature"].get<std::string>());
            for (const auto& [output, time] : stamp["outputs"].items()) {
                entry.outputTimes[unescapeBytes(output)] =
                    time.is_number_integer() ? time.get<int64_t>() : noTime;
            }
        }
    }
    return stamps;
}

} // namespace

StampFile::StampFile(std::string path)
    : path(std::move(path)), stamps(readStamps(this->path)), asRead(stamps) {}

const ModelStamp* StampFile::find(const std::string& model) const {
    const auto stamp = stamps.find(model);
    return stamp == stamps.end() ? nullptr : &stamp->second;
}

void StampFile::record(const std::string& model, ModelStamp stamp) {
    stamps[model] = std::move(stamp);
}

void StampFile::forget(const std::string& model) {
    stamps.erase(model);
}

void StampFile::saveIfChanged() const {
    const auto same = [](const auto& a, const auto& b) {
        return a.first == b.first && a.second.signature == b.second.signature &&
               a.second.outputTimes == b.second.outputTimes;
    };
    if (std::equal(stamps.begin(), stamps.end(), asRead.begin(), asRead.end(), same)) {
        return;
    }
    nlohmann::json models = nlohmann::json::object();
    for (const auto& [model, stamp] : stamps) {
        nlohmann::json outputs = nlohmann::json::object();
        for (const auto& [output, time] : stamp.outputTimes) {
            outputs[escapeBytes(output)] = time;
        }
        models[escapeBytes(model)] = {{"signature", escapeBytes(stamp.signature)},
                                      {"outputs", outputs}};
    }
    const std::string text = nlohmann::json{{"models", models}}.dump(1) + "\n";
    writeOutputFile(
        path, [&](const Ogre::DataStreamPtr& stream) { stream->write(text.data(), text.size()); });
}

std::string signatureOf(const ModelPlan& plan) {
    std::string signature = std::string("tarnwick-batch ") + batchVersion + ", mesh version " +
                            std::to_string(plan.meshVersion);
    for (const TextureCopy& texture : plan.textures) {
        signature += ", " + texture.source;
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
        stamp->outputTimes.count(fileName(plan.conversion.destPath)) == 0) {
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
