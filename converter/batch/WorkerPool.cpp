#include "WorkerPool.h"

#include "WorkerProcess.h"

#include <chrono>
#include <csignal>
#include <deque>
#include <optional>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int tickMilliseconds = 100;
constexpr std::chrono::seconds graceAfterTerm(1);

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

// SIGINT and SIGTERM end the pool's wait instead of the process while the pool runs.
class StopSignals {
public:
    StopSignals() {
        stopRequested = 0;
        struct sigaction action = {};
        action.sa_handler = requestStop;
        sigaction(SIGINT, &action, &previousInterrupt);
        sigaction(SIGTERM, &action, &previousTerminate);
        action.sa_handler = SIG_IGN;
        sigaction(SIGPIPE, &action, &previousPipe);
    }
    ~StopSignals() {
        sigaction(SIGINT, &previousInterrupt, nullptr);
        sigaction(SIGTERM, &previousTerminate, nullptr);
        sigaction(SIGPIPE, &previousPipe, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    struct sigaction previousInterrupt = {};
    struct sigaction previousTerminate = {};
    struct sigaction previousPipe = {};
};

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

struct Busy {
    std::size_t job;
    Clock::time_point deadline;
    std::optional<Clock::time_point> killAt; // set once the time limit has passed
};

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
        busy.resize(count);
    }

    bool done() const {
        return queue.empty() &&
               std::none_of(busy.begin(), busy.end(), [](const auto& b) { return b.has_value(); });
    }

    void step() {
        dispatch();
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

    void dispatch() {
        for (std::size_t i = 0; i < workers.size() && !queue.empty(); ++i) {
            if (!busy[i]) {
                const std::size_t job = queue.front();
                queue.pop_front();
                busy[i] = Busy{job, Clock::now() + toDuration(settings.timeoutSeconds), {}};
                workers[i]->send(job);
            }
        }
    }

    void receive(std::size_t i) {
        std::optional<std::string> answer = workers[i]->receive();
        if (answer && busy[i]) {
            onOutcome({busy[i]->job, true, *answer, ""});
            busy[i].reset();
        } else if (!workers[i]->alive()) {
            replace(i);
        }
    }

    void replace(std::size_t i) {
        const int status = workers[i]->reap();
        if (busy[i]) {
            const std::string failure =
                busy[i]->killAt ? "took longer than " + secondsText(settings.timeoutSeconds) + " s"
                                : describeEnd(status);
            onOutcome({busy[i]->job, false, "", failure});
        }
        if (queue.empty()) {
            workers.erase(workers.begin() + static_cast<std::ptrdiff_t>(i));
            busy.erase(busy.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            busy[i].reset();
            workers[i] = startWorker();
        }
    }

    void enforceTimeLimits() {
        const Clock::time_point now = Clock::now();
        for (std::size_t i = 0; i < workers.size(); ++i) {
            if (!busy[i] || now < busy[i]->deadline) {
                continue;
            }
            if (!busy[i]->killAt) {
                busy[i]->killAt = now + graceAfterTerm;
                workers[i]->signal(SIGTERM);
            } else if (now >= *busy[i]->killAt) {
                workers[i]->signal(SIGKILL);
            }
        }
    }

    static Clock::duration toDuration(double seconds) {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    }

    std::deque<std::size_t> queue;
    const PoolSettings& settings;
    const JobRunnerFactory& makeRunner;
    const std::function<void(const JobOutcome&)>& onOutcome;
    std::vector<std::unique_ptr<WorkerProcess>> workers;
    std::vector<std::optional<Busy>> busy;
};

} // namespace

bool runInWorkers(const std::vector<std::size_t>& jobs, const PoolSettings& settings,
                  const JobRunnerFactory& makeRunner,
                  const std::function<void(const JobOutcome&)>& onOutcome,
                  const std::function<void()>& onTick) {
    StopSignals stopSignals;
    Pool pool(jobs, settings, makeRunner, onOutcome);
    while (!pool.done()) {
        if (stopRequested) {
            pool.stopAll();
            return false;
        }
        pool.step();
        onTick();
    }
    return true;
}
