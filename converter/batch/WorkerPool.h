#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The work a worker process does for one job; its answer is one line of text.
class JobRunner {
public:
    virtual ~JobRunner() = default;
    virtual std::string run(std::size_t job) = 0;
};

// Called in each new worker process, once, before its first job.
using JobRunnerFactory = std::function<std::unique_ptr<JobRunner>()>;

struct JobOutcome {
    std::size_t job = 0;
    bool answered = false;
    std::string answer;  // when answered
    std::string failure; // otherwise: "killed by signal 11", "took longer than 120 s", ...
};

struct PoolSettings {
    int workers = 1;
    double timeoutSeconds = 120;
};

// Runs the jobs in worker processes forked from this one, each running many jobs in turn. A
// worker that dies or overruns the time limit fails its job alone and is replaced. onOutcome
// gets every job's outcome as it comes, onTick is called a few times a second. SIGINT, SIGTERM
// or SIGHUP stops the run: the workers are ended (each removes the file it is writing), and the
// result is false. True when every job has its outcome.
bool runInWorkers(const std::vector<std::size_t>& jobs, const PoolSettings& settings,
                  const JobRunnerFactory& makeRunner,
                  const std::function<void(const JobOutcome&)>& onOutcome,
                  const std::function<void()>& onTick);
