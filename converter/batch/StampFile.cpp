#include "StampFile.h"

#include "EscapedBytes.h"
#include "OutputFile.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct FileBytes {
    bool exists = false;
    bool folder = false;
    std::string bytes;
    std::string problem; // why it could not be read
};

FileBytes readWholeFile(const std::string& path) {
    FileBytes file;
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        file.exists = errno != ENOENT;
        file.problem = file.exists ? std::strerror(errno) : "";
        return file;
    }
    file.exists = true;
    struct stat status {};
    file.folder = fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
    char buffer[65536];
    ssize_t count = 0;
    while (!file.folder && (count = read(descriptor, buffer, sizeof buffer)) != 0) {
        if (count > 0) {
            file.bytes.append(buffer, static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            file.problem = std::strerror(errno);
            break;
        }
    }
    close(descriptor);
    return file;
}

nlohmann::json stampJson(const ModelStamp& stamp) {
    nlohmann::json outputs = nlohmann::json::object();
    for (const auto& [output, time] : stamp.outputTimes) {
        outputs[escapeBytes(output)] = time;
    }
    return {{"signature", escapeBytes(stamp.signature)}, {"outputs", outputs}};
}

std::optional<ModelStamp> stampFromJson(const nlohmann::json& stored) {
    if (!stored.is_object() || !stored.value("signature", nlohmann::json()).is_string() ||
        !stored.value("outputs", nlohmann::json()).is_object()) {
        return std::nullopt;
    }
    ModelStamp stamp;
    stamp.signature = unescapeBytes(stored["signature"].get<std::string>());
    for (const auto& [output, time] : stored["outputs"].items()) {
        stamp.outputTimes[unescapeBytes(output)] =
            time.is_number_integer() ? time.get<int64_t>() : noTime;
    }
    return stamp;
}

} // namespace

bool operator==(const ModelStamp& a, const ModelStamp& b) {
    return a.signature == b.signature && a.outputTimes == b.outputTimes;
}

StampFile::StampFile(std::string path, std::ostream& warnings)
    : path(std::move(path)), journalPath(fs::path(this->path).replace_extension(".journal")),
      warnings(warnings) {
    load();
    asRead = stamps;
    replayJournal();
}

StampFile::~StampFile() {
    if (journal >= 0) {
        close(journal);
    }
}

const ModelStamp* StampFile::find(const std::string& model) const {
    const auto stamp = stamps.find(model);
    return stamp == stamps.end() ? nullptr : &stamp->second;
}

void StampFile::record(const std::string& model, ModelStamp stamp) {
    appendToJournal(
        nlohmann::json{{"model", escapeBytes(model)}, {"stamp", stampJson(stamp)}}.dump());
    stamps[model] = std::move(stamp);
}

void StampFile::forget(const std::string& model) {
    if (stamps.erase(model) > 0) {
        appendToJournal(nlohmann::json{{"model", escapeBytes(model)}, {"stamp", nullptr}}.dump());
    }
}

void StampFile::saveIfChanged() {
    if (!kept) {
        return;
    }
    if (damaged || stamps != asRead) {
        nlohmann::json models = nlohmann::json::object();
        for (const auto& [model, stamp] : stamps) {
            models[escapeBytes(model)] = stampJson(stamp);
        }
        const std::string text = nlohmann::json{{"models", models}}.dump(1) + "\n";
        try {
            if (damaged) {
                unlink(path.c_str()); // so that the new file does not keep bits nobody can read
            }
            writeOutputFile(path, [&](const Ogre::DataStreamPtr& stream) {
                stream->write(text.data(), text.size());
            });
        } catch (const std::exception& error) {
            // The journal stays, for the next run to fold in.
            warn(std::string(error.what()) + "; the next run converts these models again");
            return;
        }
        asRead = stamps;
        damaged = false;
    }
    if (journal >= 0) {
        close(journal);
        journal = -1;
    }
    unlink(journalPath.c_str());
}

void StampFile::load() {
    const FileBytes file = readWholeFile(path);
    if (file.folder) {
        kept = false;
        warn("the stamps path " + path +
             " is a folder; every model is converted, and no stamps are kept");
        return;
    }
    if (!file.problem.empty()) {
        damaged = true;
        warn("cannot read the stamps " + path + ": " + file.problem +
             "; every model is converted again");
        return;
    }
    if (!file.exists) {
        return;
    }
    const nlohmann::json stored = nlohmann::json::parse(file.bytes, nullptr, false);
    if (!stored.is_object() || !stored.contains("models") || !stored["models"].is_object()) {
        damaged = true;
        warn("the stamps " + path + " are damaged; every model is converted again");
        return;
    }
    for (const auto& [model, entry] : stored["models"].items()) {
        if (std::optional<ModelStamp> stamp = stampFromJson(entry)) {
            stamps[unescapeBytes(model)] = std::move(*stamp);
        }
    }
}

// One line per stamp recorded or forgotten; what follows the last line break is a line a kill
// cut short, and a line that does not read is passed over.
void StampFile::replayJournal() {
    if (!kept) {
        return;
    }
    const FileBytes log = readWholeFile(journalPath);
    if (!log.exists) {
        return;
    }
    std::size_t start = 0;
    for (std::size_t end = 0; (end = log.bytes.find('\n', start)) != std::string::npos;
         start = end + 1) {
        const nlohmann::json line =
            nlohmann::json::parse(log.bytes.substr(start, end - start), nullptr, false);
        if (!line.is_object() || !line.value("model", nlohmann::json()).is_string() ||
            !line.contains("stamp")) {
            continue;
        }
        const std::string model = unescapeBytes(line["model"].get<std::string>());
        if (line["stamp"].is_null()) {
            stamps.erase(model);
        } else if (std::optional<ModelStamp> stamp = stampFromJson(line["stamp"])) {
            stamps[model] = std::move(*stamp);
        }
    }
    // Folded in now, so that this run's journal starts empty.
    saveIfChanged();
}

// Not synced: a line lost to a power cut only means its model is converted again, and the
// model's files are on the disk before its line is written.
void StampFile::appendToJournal(const std::string& entry) {
    if (!kept || !journalling) {
        return;
    }
    const std::string line = entry + "\n";
    if (journal < 0) {
        journal = open(journalPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    }
    // One write, so that a kill leaves at most the last line cut short.
    const bool written =
        journal >= 0 && write(journal, line.data(), line.size()) == ssize_t(line.size());
    if (!written) {
        journalling = false;
        warn("cannot add to the stamps journal " + journalPath + ": " + std::strerror(errno) +
             "; a run killed from here on would convert its models again");
    }
}

void StampFile::warn(const std::string& message) {
    warnings << "tarnwick-batch: " << message << "\n";
}
