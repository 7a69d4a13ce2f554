#include "BatchRun.h"

#include "BatchReport.h"
#include "ModelPlan.h"
#include "ModelTree.h"
#include "ModelWorker.h"
#include "OutputFile.h"
#include "OutputFolderLock.h"
#include "ProgressLine.h"
#include "StopSignals.h"
#include "UpToDate.h"
#include "WorkerPool.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <numeric>

namespace fs = std::filesystem;

namespace {

constexpr int anyFailed = 1;
constexpr int folderUnavailable = 2;
constexpr int killedBySignal = 128; // + the signal's number, as a shell reports it

const char* const stampFileName = ".tarnwick-batch-stamps.json";

std::string relativeToOutput(const BatchOptions& options, const std::string& path) {
    return fs::path(path).lexically_relative(options.outputDir).generic_string();
}

using OutputTimes = std::vector<std::optional<fs::file_time_type>>;

OutputTimes outputTimes(const ModelPlan& plan) {
    OutputTimes times;
    for (const std::string& output : plan.outputs) {
        std::error_code error;
        const fs::file_time_type time = fs::last_write_time(output, error);
        times.push_back(error ? std::nullopt : std::optional<fs::file_time_type>(time));
    }
    return times;
}

// The outputs there now; with the times before a conversion, only those it wrote.
std::vector<std::string> outputsOf(const BatchOptions& options, const ModelPlan& plan,
                                   const OutputTimes& before) {
    const OutputTimes now = outputTimes(plan);
    std::vector<std::string> outputs;
    for (std::size_t i = 0; i < plan.outputs.size(); ++i) {
        if (now[i] && (before.empty() || before[i] != now[i])) {
            outputs.push_back(relativeToOutput(options, plan.outputs[i]));
        }
    }
    return outputs;
}

std::vector<std::string> texturesPlaced(const ModelPlan& plan) {
    std::vector<std::string> placed;
    for (const TextureCopy& copy : plan.textures) {
        placed.push_back(copy.relativeDestination);
    }
    return placed;
}

ModelResult resultFromPlan(const ModelPlan& plan, ModelStatus status) {
    ModelResult result;
    result.source = plan.source;
    result.status = status;
    result.warnings = plan.warnings;
    result.texturesMissing = plan.texturesMissing;
    if (status != ModelStatus::failed) {
        result.texturesCopied = texturesPlaced(plan);
    }
    return result;
}

std::vector<std::string> textsOf(const std::vector<Diagnostic>& entries, Severity severity) {
    std::vector<std::string> texts;
    for (const Diagnostic& entry : entries) {
        if (entry.severity == severity) {
            texts.push_back(entry.text);
        }
    }
    return texts;
}

// An error that Tarnwick's console does not show names the cause that its lines only hint at
// (the SKA file missing behind "Importing Skeleton Failed!"), so it stands alone.
std::string failureReason(const std::vector<Diagnostic>& entries,
                          const std::vector<std::string>& commitErrors) {
    const auto cause = std::find_if(entries.begin(), entries.end(), [](const Diagnostic& entry) {
        return entry.severity == Severity::error && entry.placement == Placement::unshown;
    });
    if (cause != entries.end()) {
        return cause->text;
    }
    std::vector<std::string> errors = textsOf(entries, Severity::error);
    errors.insert(errors.end(), commitErrors.begin(), commitErrors.end());
    if (errors.empty()) {
        return "the conversion failed without a message";
    }
    return std::accumulate(
        std::next(errors.begin()), errors.end(), errors.front(),
        [](const std::string& all, const std::string& line) { return all + "; " + line; });
}

std::string failureLine(const std::string& source, const std::string& reason) {
    return "failed: " + source + ": " + reason;
}

// What the file system refuses for one model (a file where its folder goes, a folder it may not
// write) fails that model alone: the reason, or empty when the action went through.
template <typename Action> std::string failingAlone(const Action& action) {
    try {
        action();
        return "";
    } catch (const std::exception& error) {
        return error.what();
    }
}

std::string makeFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error) {
        return "";
    }
    return "cannot create its folder " + fs::path(folder).parent_path().string() + ": " +
           error.message();
}

class BatchRun {
public:
    explicit BatchRun(const BatchOptions& options) : options(options) {}

    // Ctrl-C at any point ends the batch with the report of what was done.
    int run() {
        const StopSignals stopSignals;
        if (const std::optional<int> status = lockOutputFolder()) {
            return *status;
        }
        stamps.emplace((fs::path(options.outputDir) / stampFileName).string());
        plans = planModels(options, findModels(options.sourceRoot, options.outputDir));
        if (stopRequested()) {
            return finish(false);
        }
        results.resize(plans.size());
        timesBefore.resize(plans.size());
        const std::vector<std::size_t> jobs = decideWithoutConverting();
        ProgressLine progress(std::cerr, progressWanted(options.quiet), plans.size(),
                              plans.size() - jobs.size());
        const bool completed = runInWorkers(
            jobs, {options.jobs, options.timeoutSeconds},
            [this] { return std::make_unique<ModelWorker>(plans); },
            [&](const JobOutcome& outcome) { record(outcome, progress); },
            [&] { progress.tick(); });
        progress.finish();
        if (!completed) {
            removeTemporariesOfUnsettled(jobs);
        }
        stamps->saveIfChanged();
        return finish(completed && !stopRequested());
    }

private:
    // Before the stamps are read and before anything of a killed run is removed: what looks
    // left over may be the files of a run still going. The exit status when the run cannot go on.
    std::optional<int> lockOutputFolder() {
        try {
            lock.emplace(options.outputDir);
        } catch (const std::runtime_error& error) {
            std::cerr << "tarnwick-batch: " << error.what() << "\n";
            return folderUnavailable;
        }
        switch (lock->take(!options.noWait, std::cerr)) {
        case OutputFolderLock::Result::taken:
            return std::nullopt;
        case OutputFolderLock::Result::busy:
            return folderUnavailable;
        case OutputFolderLock::Result::stopped:
            break;
        }
        return finish(false);
    }

    // Refused and up-to-date models are settled here; the rest are the workers' jobs.
    std::vector<std::size_t> decideWithoutConverting() {
        std::vector<std::size_t> jobs;
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const std::string problem = failingAlone([&] { decide(i, jobs); });
            if (!problem.empty()) {
                failBeforeConverting(i, problem);
            }
        }
        // What a batch killed outright (SIGKILL, a power cut) left of these models goes before
        // they are written again.
        removeTemporariesOfModels(jobs);
        return jobs;
    }

    void decide(std::size_t i, std::vector<std::size_t>& jobs) {
        const ModelPlan& plan = plans[i];
        if (!plan.refusal.empty()) {
            failBeforeConverting(i, plan.refusal);
        } else if (!options.force && isUpToDate(plan, stamps->find(plan.source))) {
            results[i] = resultFromPlan(plan, ModelStatus::skipped);
            results[i]->outputs = outputsOf(options, plan, {});
        } else {
            const std::string folderProblem = makeFolder(plan.conversion.destDir);
            if (!folderProblem.empty()) {
                failBeforeConverting(i, folderProblem);
                return;
            }
            timesBefore[i] = outputTimes(plan);
            jobs.push_back(i);
        }
    }

    void failBeforeConverting(std::size_t i, const std::string& reason) {
        results[i] = resultFromPlan(plans[i], ModelStatus::failed);
        results[i]->error = reason;
        std::cerr << failureLine(plans[i].source, reason) << "\n";
    }

    void record(const JobOutcome& outcome, ProgressLine& progress) {
        const std::string problem = failingAlone([&] { settle(outcome, progress); });
        if (!problem.empty()) {
            const ModelPlan& plan = plans[outcome.job];
            results[outcome.job] = resultFromPlan(plan, ModelStatus::failed);
            results[outcome.job]->error = problem;
            progress.print(failureLine(plan.source, problem));
            stamps->forget(plan.source);
            progress.modelDone(true);
        }
    }

    void settle(const JobOutcome& outcome, ProgressLine& progress) {
        const ModelPlan& plan = plans[outcome.job];
        const WorkerAnswer answer =
            outcome.answered ? readWorkerAnswer(outcome.answer) : WorkerAnswer{};
        // A worker that died or overran left what it was writing.
        if (!outcome.answered) {
            removeTemporariesOfModels({outcome.job});
        }
        // The worker's files go in place here, so that it can go on while the disk catches up.
        const std::vector<std::string> commitErrors = commitOutputs(answer.pending);
        const bool failed = answer.status != 0 || !commitErrors.empty();
        ModelResult result =
            resultFromPlan(plan, failed ? ModelStatus::failed : ModelStatus::converted);
        result.outputs = outputsOf(options, plan, timesBefore[outcome.job]);
        const std::vector<std::string> warnings = textsOf(answer.diagnostics, Severity::warning);
        result.warnings.insert(result.warnings.end(), warnings.begin(), warnings.end());
        result.texturesMissing.insert(result.texturesMissing.end(), answer.texturesMissing.begin(),
                                      answer.texturesMissing.end());
        result.seconds = answer.seconds;
        if (failed) {
            result.error = outcome.answered ? failureReason(answer.diagnostics, commitErrors)
                                            : outcome.failure;
            progress.print(failureLine(plan.source, *result.error));
            stamps->forget(plan.source);
        } else {
            stamps->record(plan.source, stampOf(plan));
        }
        results[outcome.job] = std::move(result);
        progress.modelDone(failed);
    }

    // A worker ended by the stop may have handed on files whose answer never came.
    void removeTemporariesOfUnsettled(const std::vector<std::size_t>& jobs) const {
        std::vector<std::size_t> unsettled;
        std::copy_if(jobs.begin(), jobs.end(), std::back_inserter(unsettled),
                     [this](std::size_t job) { return !results[job]; });
        removeTemporariesOfModels(unsettled);
    }

    void removeTemporariesOfModels(const std::vector<std::size_t>& models) const {
        std::vector<std::string> files;
        for (const std::size_t model : models) {
            const ModelPlan& plan = plans[model];
            files.insert(files.end(), plan.outputs.begin(), plan.outputs.end());
            for (const TextureCopy& copy : plan.textures) {
                files.push_back(copy.destination);
            }
        }
        removeTemporariesOf(files);
    }

    int finish(bool completed) {
        std::vector<ModelResult> settled;
        for (const std::optional<ModelResult>& result : results) {
            if (result) {
                settled.push_back(*result);
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // The summary comes first, so that it is seen also when the report cannot be written.
        const BatchTotals totals = totalsOf(settled);
        std::cout << summaryLine(totals, seconds) << (completed ? "" : " (interrupted)")
                  << std::endl;
        if (!options.reportFile.empty()) {
            writeReport(settled, seconds, !completed);
        }
        if (!completed) {
            return killedBySignal + stopSignal();
        }
        return totals.failed > 0 ? anyFailed : 0;
    }

    void writeReport(const std::vector<ModelResult>& settled, double seconds, bool interrupted) {
        const ReportHeader header{batchVersion, fs::absolute(options.sourceRoot).string(),
                                  fs::absolute(options.outputDir).string(), interrupted};
        const std::string text = reportText(header, settled, seconds);
        writeOutputFile(options.reportFile, [&](const Ogre::DataStreamPtr& stream) {
            stream->write(text.data(), text.size());
        });
    }

    const BatchOptions& options;
    std::optional<OutputFolderLock> lock;
    std::optional<StampFile> stamps; // read once the output folder is locked
    std::vector<ModelPlan> plans;
    std::vector<std::optional<ModelResult>> results;
    std::vector<OutputTimes> timesBefore; // of the models given to the workers
    const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

} // namespace

int runBatch(const BatchOptions& options) {
    return BatchRun(options).run();
}
