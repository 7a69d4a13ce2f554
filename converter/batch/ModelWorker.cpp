#include "ModelWorker.h"

#include "ConversionRun.h"
#include "EscapedBytes.h"
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

int copyTextures(const ModelPlan& plan, std::ostream& console) {
    try {
        for (const TextureCopy& copy : plan.textures) {
            copyTexture(copy);
        }
        return 0;
    } catch (const std::exception& error) {
        console << "Error: " << error.what() << "\n";
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
    std::ostringstream console;
    std::vector<PendingOutput> pending;
    int status = 0;
    {
        DeferredOutputs deferred;
        status = convertModel(plan.conversion, engine, console, plan.meshVersion);
        pending = deferred.take();
    }
    if (status == 0) {
        status = copyTextures(plan, console);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return workerAnswerText({status, console.str(), seconds.count(), pending});
}

// The console is for people, so bytes that are not UTF-8 may become U+FFFD there; the names of
// the files must arrive as they are.
std::string workerAnswerText(const WorkerAnswer& answer) {
    nlohmann::json outputs = nlohmann::json::array();
    for (const PendingOutput& output : answer.pending) {
        outputs.push_back({escapeBytes(output.temporary), escapeBytes(output.path)});
    }
    return nlohmann::json{{"status", answer.status},
                          {"console", answer.console},
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
    return {fields.at("status").get<int>(), fields.at("console").get<std::string>(),
            fields.at("seconds").get<double>(), pending};
}
