#include "BatchReport.h"

#include <nlohmann/json.hpp>

#include <iomanip>
#include <sstream>

namespace {

const char* statusName(ModelStatus status) {
    switch (status) {
    case ModelStatus::converted:
        return "converted";
    case ModelStatus::skipped:
        return "skipped";
    case ModelStatus::failed:
        return "failed";
    }
    return "";
}

nlohmann::ordered_json modelJson(const ModelResult& result) {
    return {
        {"source", result.source},
        {"status", statusName(result.status)},
        {"outputs", result.outputs},
        {"warnings", result.warnings},
        {"error", result.error ? nlohmann::ordered_json(*result.error) : nlohmann::ordered_json()},
        {"textures_copied", result.texturesCopied},
        {"textures_missing", result.texturesMissing},
        {"seconds", result.seconds}};
}

} // namespace

BatchTotals totalsOf(const std::vector<ModelResult>& results) {
    BatchTotals totals;
    for (const ModelResult& result : results) {
        totals.converted += result.status == ModelStatus::converted ? 1 : 0;
        totals.skipped += result.status == ModelStatus::skipped ? 1 : 0;
        totals.failed += result.status == ModelStatus::failed ? 1 : 0;
        totals.withWarnings += result.warnings.empty() ? 0 : 1;
        totals.texturesMissing += result.texturesMissing.size();
    }
    return totals;
}

std::string summaryLine(const BatchTotals& totals, double seconds) {
    std::ostringstream line;
    line << totals.converted << " converted, " << totals.skipped << " skipped, " << totals.failed
         << " failed, " << totals.withWarnings << " with warnings, " << totals.texturesMissing
         << " textures missing, " << std::fixed << std::setprecision(1) << seconds << " s";
    return line.str();
}

std::string reportText(const ReportHeader& header, const std::vector<ModelResult>& results,
                       double seconds) {
    nlohmann::ordered_json models = nlohmann::ordered_json::array();
    for (const ModelResult& result : results) {
        models.push_back(modelJson(result));
    }
    const BatchTotals totals = totalsOf(results);
    nlohmann::ordered_json report = {{"version", header.version},
                                     {"source_root", header.sourceRoot},
                                     {"output_dir", header.outputDir},
                                     {"models", models},
                                     {"summary",
                                      {{"converted", totals.converted},
                                       {"skipped", totals.skipped},
                                       {"failed", totals.failed},
                                       {"with_warnings", totals.withWarnings},
                                       {"textures_missing", totals.texturesMissing},
                                       {"seconds", seconds}}}};
    if (header.interrupted) {
        report["interrupted"] = true;
    }
    return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
