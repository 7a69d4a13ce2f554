#pragma once

#include "ModelPlan.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What a run remembers of a model it converted, so that a later run can skip it by looking at
// file times alone: which tool and settings wrote it, and the times its outputs were written.
struct ModelStamp {
    std::string signature;
    std::map<std::string, int64_t> outputTimes; // output file name → modification time, ns
};

// The stamps of an output folder, kept in one file inside it.
class StampFile {
public:
    explicit StampFile(std::string path);

    const ModelStamp* find(const std::string& model) const;
    void record(const std::string& model, ModelStamp stamp);
    void forget(const std::string& model);

    // Written (atomically) only when a stamp changed since it was read.
    void saveIfChanged() const;

private:
    std::string path;
    std::map<std::string, ModelStamp> stamps;
    std::map<std::string, ModelStamp> asRead;
};

// The tool's version, the mesh format and the textures found: a change of any of them calls
// for a new conversion even when no file time says so.
std::string signatureOf(const ModelPlan& plan);

// The stamp of a model just converted: the outputs that exist now, with their times.
ModelStamp stampOf(const ModelPlan& plan);

// True when the stamp was made by this version with these settings, every output it names is
// still the file it wrote, newer than every input, and every texture copy is there.
bool isUpToDate(const ModelPlan& plan, const ModelStamp* stamp);
