#include "WorkerProcess.h"

#include "OutputFile.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr auto exitWait = std::chrono::seconds(1);

// A worker ended by a signal leaves no partial file: the handler removes the file being
// written, then lets the signal end the process as it would have.
void removeTemporaryAndDie(int number) {
    removeTemporaryInProgress();
    std::signal(number, SIG_DFL);
    std::raise(number);
}

// Ctrl-C, and the hang-up of a closed terminal, reach the whole process group; the parent ends
// the workers itself.
void installWorkerSignals() {
    struct sigaction dying = {};
    dying.sa_handler = removeTemporaryAndDie;
    for (const int number : {SIGTERM, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        sigaction(number, &dying, nullptr);
    }
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGINT, &ignore, nullptr);
    sigaction(SIGHUP, &ignore, nullptr);
    // A parent killed outright takes its workers with it, each removing what it was writing,
    // so that they release the output folder's lock and the next run finds nothing in progress.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

bool readJob(int fd, std::size_t& job) {
    std::string line;
    char c;
    for (;;) {
        const ssize_t count = read(fd, &c, 1);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        if (c == '\n') {
            job = std::stoul(line);
            return true;
        }
        line += c;
    }
}

[[noreturn]] void workerMain(int jobFd, int answerFd, const JobRunnerFactory& makeRunner) {
    installWorkerSignals();
    int status = 0;
    try {
        std::unique_ptr<JobRunner> runner = makeRunner();
        std::size_t job = 0;
        while (readJob(jobFd, job) && writeAll(answerFd, runner->run(job) + "\n")) {
        }
    } catch (const std::exception& error) {
        std::cerr << "tarnwick-batch worker: " << error.what() << "\n";
        status = 1;
    }
    // Nothing of the parent's state is torn down twice: the worker leaves without destructors.
    std::cerr.flush();
    _exit(status);
}

void makePipe(int ends[2]) {
    if (pipe(ends) != 0) {
        throw std::runtime_error("cannot create a pipe for a worker");
    }
}

} // namespace

WorkerProcess::WorkerProcess(const JobRunnerFactory& makeRunner,
                             const std::vector<int>& othersDescriptors) {
    int jobPipe[2];
    int answerPipe[2];
    makePipe(jobPipe);
    makePipe(answerPipe);
    std::cout.flush();
    std::cerr.flush();
    pid = fork();
    if (pid < 0) {
        throw std::runtime_error("cannot start a worker process");
    }
    if (pid == 0) {
        for (const int fd : othersDescriptors) {
            close(fd);
        }
        close(jobPipe[1]);
        close(answerPipe[0]);
        workerMain(jobPipe[0], answerPipe[1], makeRunner);
    }
    close(jobPipe[0]);
    close(answerPipe[1]);
    jobs = jobPipe[1];
    answers = answerPipe[0];
}

WorkerProcess::~WorkerProcess() {
    close(jobs);
    close(answers);
    if (reaped) {
        return;
    }
    const auto giveUp = std::chrono::steady_clock::now() + exitWait;
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= giveUp) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void WorkerProcess::send(std::size_t job) {
    writeAll(jobs, std::to_string(job) + "\n"); // a dead worker shows at its answer pipe
}

void WorkerProcess::readAvailable() {
    char buffer[65536];
    const ssize_t count = read(answers, buffer, sizeof buffer);
    if (count == 0 || (count < 0 && errno != EINTR && errno != EAGAIN)) {
        open = false;
    } else if (count > 0) {
        received.append(buffer, static_cast<std::size_t>(count));
    }
}

std::optional<std::string> WorkerProcess::takeAnswer() {
    const std::size_t end = received.find('\n');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::string answer = received.substr(0, end);
    received.erase(0, end + 1);
    return answer;
}

void WorkerProcess::signal(int number) {
    kill(pid, number);
}

int WorkerProcess::reap() {
    int status = 0;
    waitpid(pid, &status, 0);
    reaped = true;
    return status;
}
