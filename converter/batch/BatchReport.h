#pragma once

#include <optional>
#include <string>
#include <vector>

enum class ModelStatus { converted, skipped, failed };

// What became of one model; paths relative to the source root or the output folder.
struct ModelResult {
    std::string source;
    ModelStatus status = ModelStatus::failed;
    std::vector<std::string> outputs;
    std::vector<std::string> warnings;
    std::optional<std::string> error;
    std::vector<std::string> texturesCopied;
    std::vector<std::string> texturesMissing;
    double seconds = 0;
};

struct BatchTotals {
    std::size_t converted = 0;
    std::size_t skipped = 0;
    std::size_t failed = 0;
    std::size_t withWarnings = 0;
    std::size_t texturesMissing = 0;
};

BatchTotals totalsOf(const std::vector<ModelResult>& results);

// "12 converted, 0 skipped, 1 failed, 3 with warnings, 2 textures missing, 4.2 s"
std::string summaryLine(const BatchTotals& totals, double seconds);

struct ReportHeader {
    std::string version;
    std::string sourceRoot;
    std::string outputDir;
    bool interrupted = false;
};

// The report as JSON text; bytes that are not UTF-8 are replaced.
std::string reportText(const ReportHeader& header, const std::vector<ModelResult>& results,
                       double seconds);
