#include "ModelWorker.h"

#include "ConversionRun.h"
#include "EscapedBytes.h"
#include "GlbOutput.h"
#include "OutputFile.h"
#include "SameContent.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <fstream>
#include <malloc.h>
#include <sstream>

namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file) {
        throw std::runtime_error("Cannot read \"" + path + "\"");
    }
    return bytes.str();
}

// Skipped when an identical copy is already there, so that an unchanged texture keeps its time.
void copyTexture(const TextureCopy& copy) {
    if (sameContent(copy.source, copy.destination)) {
        return;
    }
    const std::string bytes = fileBytes(copy.source);
    writeOutputFile(copy.destination, [&](const Ogre::DataStreamPtr& stream) {
        stream->write(bytes.data(), bytes.size());
    });
}

int copyTextures(const ModelPlan& plan, Diagnostics& diagnostics) {
    try {
        for (const TextureCopy& copy : plan.textures) {
            copyTexture(copy);
        }
        return 0;
    } catch (const std::exception& error) {
        diagnostics.error(std::string("Error: ") + error.what());
        return 1;
    }
}

// A worker converts model after model. What one model frees is kept for the next instead of
// going back to the system, to be faulted in and zeroed again: with a worker on every
// processor, that zeroing competes for the memory bus and slows them all down.
void keepFreedMemoryForTheNextModel() {
    constexpr int largestMappingThreshold = 32 * 1024 * 1024; // glibc's limit on 64-bit
    constexpr int trimThreshold = 256 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, largestMappingThreshold);
    mallopt(M_TRIM_THRESHOLD, trimThreshold);
}

} // namespace

ModelWorker::ModelWorker(const std::vector<ModelPlan>& plans) : plans(plans), engine("") {
    keepFreedMemoryForTheNextModel();
}

std::string ModelWorker::run(std::size_t job) {
    const auto start = std::chrono::steady_clock::now();
    const ModelPlan& plan = plans.at(job);
    DiagnosticList diagnostics;
    std::vector<std::string> texturesMissing;
    ModelSettings settings{plan.meshVersion, plan.inputsFound, writesOgreFiles(plan.format), {}};
    if (writesGlb(plan.format)) {
        settings.alsoWrite = [&](const BuiltModel& model) {
            texturesMissing = writeModelGlb(model, plan, diagnostics);
        };
    }
    std::vector<PendingOutput> pending;
    int status = 0;
    {
        DeferredOutputs deferred;
        status = convertModel(plan.conversion, engine, diagnostics, settings);
        pending = deferred.take();
    }
    if (status == 0) {
        status = copyTextures(plan, diagnostics);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return workerAnswerText(
        {status, diagnostics.entries(), seconds.count(), pending, texturesMissing});
}

// The diagnostics are for people, so bytes that are not UTF-8 may become U+FFFD there; the names
// of the files must arrive as they are.
std::string workerAnswerText(const WorkerAnswer& answer) {
    nlohmann::json outputs = nlohmann::json::array();
    for (const PendingOutput& output : answer.pending) {
        outputs.push_back({escapeBytes(output.temporary), escapeBytes(output.path)});
    }
    nlohmann::json diagnostics = nlohmann::json::array();
    for (const Diagnostic& entry : answer.diagnostics) {
        diagnostics.push_back(
            {static_cast<int>(entry.severity), entry.text, static_cast<int>(entry.placement)});
    }
    return nlohmann::json{{"status", answer.status},
                          {"diagnostics", diagnostics},
                          {"textures_missing", answer.texturesMissing},
                          {"seconds", answer.seconds},
                          {"pending", outputs}}
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

WorkerAnswer readWorkerAnswer(const std::string& answer) {
    const nlohmann::json fields = nlohmann::json::parse(answer);
    std::vector<PendingOutput> pending;
    for (const nlohmann::json& output : fields.at("pending")) {
        pending.push_back({unescapeBytes(output.at(0).get<std::string>()),
                           unescapeBytes(output.at(1).get<std::string>())});
    }
    std::vector<Diagnostic> diagnostics;
    for (const nlohmann::json& entry : fields.at("diagnostics")) {
        diagnostics.push_back({static_cast<Severity>(entry.at(0).get<int>()),
                               entry.at(1).get<std::string>(),
                               static_cast<Placement>(entry.at(2).get<int>())});
    }
    return {fields.at("status").get<int>(), diagnostics, fields.at("seconds").get<double>(),
            pending, fields.at("textures_missing").get<std::vector<std::string>>()};
}
