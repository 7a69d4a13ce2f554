#include "WorkerPool.h"

#include "StopSignals.h"
#include "WorkerProcess.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <deque>
#include <optional>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int tickMilliseconds = 100;
constexpr std::chrono::seconds graceAfterTerm(1);

std::string secondsText(double seconds) {
    std::ostringstream text;
    text << seconds;
    return text.str();
}

std::string describeEnd(int status) {
    if (WIFSIGNALED(status)) {
        return "killed by signal " + std::to_string(WTERMSIG(status));
    }
    return "worker ended with status " + std::to_string(WEXITSTATUS(status));
}

// The jobs sent to one worker, in the order it takes them: it is working on the first. The
// others wait in its pipe, so that it need not wait for this process between models, which may
// be putting files in place.
struct Assigned {
    std::deque<std::size_t> jobs;
    Clock::time_point deadline;              // of the first job
    std::optional<Clock::time_point> killAt; // set once the time limit has passed
};

constexpr std::size_t jobsSentAhead = 3;

class Pool {
public:
    Pool(const std::vector<std::size_t>& jobs, const PoolSettings& settings,
         const JobRunnerFactory& makeRunner,
         const std::function<void(const JobOutcome&)>& onOutcome)
        : queue(jobs.begin(), jobs.end()), settings(settings), makeRunner(makeRunner),
          onOutcome(onOutcome) {
        const std::size_t count = std::min<std::size_t>(settings.workers, jobs.size());
        for (std::size_t i = 0; i < count; ++i) {
            workers.push_back(startWorker());
        }
        assigned.resize(count);
        dispatch();
    }

    bool done() const {
        return queue.empty() && std::all_of(assigned.begin(), assigned.end(),
                                            [](const Assigned& a) { return a.jobs.empty(); });
    }

    void step() {
        std::vector<pollfd> fds;
        for (const auto& worker : workers) {
            fds.push_back({worker->answerFd(), POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), tickMilliseconds) > 0) {
            // From the back, since a worker that ended may leave the pool.
            for (std::size_t i = fds.size(); i-- > 0;) {
                if (fds[i].revents != 0) {
                    receive(i);
                }
            }
        }
        // Every worker has its next jobs before the outcomes, which may wait for the disk.
        dispatch();
        for (const JobOutcome& outcome : std::exchange(answered, {})) {
            onOutcome(outcome);
        }
        enforceTimeLimits();
    }

    // Each worker removes the file it is writing when the signal comes.
    void stopAll() {
        for (auto& worker : workers) {
            worker->signal(SIGTERM);
        }
        workers.clear();
    }

private:
    std::unique_ptr<WorkerProcess> startWorker() {
        std::vector<int> inherited;
        for (const auto& worker : workers) {
            inherited.push_back(worker->jobFd());
            inherited.push_back(worker->answerFd());
        }
        return std::make_unique<WorkerProcess>(makeRunner, inherited);
    }

    // Jobs beyond the first go to a worker only while there are more jobs than workers, so that
    // at the end no job waits behind another while a worker is free.
    void dispatch() {
        for (std::size_t i = 0; i < workers.size(); ++i) {
            while (!queue.empty() &&
                   (assigned[i].jobs.empty() ||
                    (assigned[i].jobs.size() < jobsSentAhead && queue.size() > workers.size()))) {
                const std::size_t job = queue.front();
                queue.pop_front();
                if (assigned[i].jobs.empty()) {
                    startClock(assigned[i]);
                }
                assigned[i].jobs.push_back(job);
                workers[i]->send(job);
            }
        }
    }

    void startClock(Assigned& worker) const {
        worker.deadline = Clock::now() + toDuration(settings.timeoutSeconds);
        worker.killAt.reset();
    }

    void receive(std::size_t i) {
        workers[i]->readAvailable();
        while (std::optional<std::string> answer = workers[i]->takeAnswer()) {
            if (assigned[i].jobs.empty()) {
                continue;
            }
            answered.push_back({assigned[i].jobs.front(), true, *answer, ""});
            assigned[i].jobs.pop_front();
            startClock(assigned[i]);
        }
        if (!workers[i]->alive()) {
            replace(i);
        }
    }

    // The job the worker was on fails; those waiting behind it go back to the queue.
    void replace(std::size_t i) {
        const int status = workers[i]->reap();
        std::deque<std::size_t>& jobs = assigned[i].jobs;
        if (!jobs.empty()) {
            const std::string failure =
                assigned[i].killAt
                    ? "took longer than " + secondsText(settings.timeoutSeconds) + " s"
                    : describeEnd(status);
            onOutcome({jobs.front(), false, "", failure});
            queue.insert(queue.begin(), std::next(jobs.begin()), jobs.end());
        }
        if (queue.empty()) {
            workers.erase(workers.begin() + static_cast<std::ptrdiff_t>(i));
            assigned.erase(assigned.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            assigned[i] = {};
            workers[i] = startWorker();
        }
    }

    void enforceTimeLimits() {
        const Clock::time_point now = Clock::now();
        for (std::size_t i = 0; i < workers.size(); ++i) {
            Assigned& worker = assigned[i];
            if (worker.jobs.empty() || now < worker.deadline) {
                continue;
            }
            if (!worker.killAt) {
                worker.killAt = now + graceAfterTerm;
                workers[i]->signal(SIGTERM);
            } else if (now >= *worker.killAt) {
                workers[i]->signal(SIGKILL);
            }
        }
    }

    // A limit longer than any run (over 30 years) is cut to that, so that the deadline fits the
    // clock: past its range the conversion overflows, and every model would be over time at once.
    static Clock::duration toDuration(double seconds) {
        constexpr double longestSeconds = 1e9;
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(std::min(seconds, longestSeconds)));
    }

    std::deque<std::size_t> queue;
    const PoolSettings& settings;
    const JobRunnerFactory& makeRunner;
    const std::function<void(const JobOutcome&)>& onOutcome;
    std::vector<std::unique_ptr<WorkerProcess>> workers;
    std::vector<Assigned> assigned;
    std::vector<JobOutcome> answered; // in this step, not yet handed to onOutcome
};

} // namespace

bool runInWorkers(const std::vector<std::size_t>& jobs, const PoolSettings& settings,
                  const JobRunnerFactory& makeRunner,
                  const std::function<void(const JobOutcome&)>& onOutcome,
                  const std::function<void()>& onTick) {
    StopSignals stopSignals;
    Pool pool(jobs, settings, makeRunner, onOutcome);
    while (!pool.done()) {
        if (stopRequested()) {
            pool.stopAll();
            return false;
        }
        pool.step();
        onTick();
    }
    return true;
}
