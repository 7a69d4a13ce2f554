#pragma once

#include <cstdint>
#include <iostream>
#include <map>
#include <optional>
#include <string>

// The time of a file that is not there, or that a stamp lost.
constexpr int64_t noTime = INT64_MIN;

// What a run remembers of a model it converted, so that a later run can skip it by looking at
// file times alone: which tool and settings wrote it, and the times its outputs were written.
struct ModelStamp {
    std::string signature;
    std::map<std::string, int64_t> outputTimes; // output file name → modification time, ns
};

bool operator==(const ModelStamp& a, const ModelStamp& b);

// The stamps of an output folder, kept in one file inside it. Each stamp recorded or forgotten
// is also appended at once to a journal beside the file, so that a run killed outright (SIGKILL,
// a power cut) loses none of them; saving folds the journal into the file. Only one run at a time
// may use an output folder's stamps.
class StampFile {
public:
    // Reads the file and what a killed run left in the journal, folding that in. A file that
    // cannot be read is one warning and holds no stamps, so every model is converted again; a
    // path that is a folder keeps no stamps at all.
    explicit StampFile(std::string path, std::ostream& warnings = std::cerr);
    ~StampFile();
    StampFile(const StampFile&) = delete;
    StampFile& operator=(const StampFile&) = delete;

    const ModelStamp* find(const std::string& model) const;
    void record(const std::string& model, ModelStamp stamp);
    void forget(const std::string& model);

    // Writes the file (atomically) when a stamp changed since it was read or it could not be
    // read, and removes the journal. Failing, it warns: the next run converts more again.
    void saveIfChanged();

private:
    void load();
    void replayJournal();
    void appendToJournal(const std::string& line);
    void warn(const std::string& message);

    std::string path;
    std::string journalPath;
    std::ostream& warnings;
    std::map<std::string, ModelStamp> stamps;
    std::map<std::string, ModelStamp> asRead;
    bool kept = true;        // false when the path is a folder
    bool damaged = false;    // the file is there but could not be read
    int journal = -1;        // opened at the first change
    bool journalling = true; // false once appending failed
};
