#pragma once

#include "WorkerPool.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// One worker process, forked from this one, and the two pipes to it: jobs go down as decimal
// lines, answers come back a line each. The worker ends when its job pipe is closed.
class WorkerProcess {
public:
    // The worker closes the descriptors of the other workers that it inherits, so that each
    // job pipe has one writer and its end is seen.
    WorkerProcess(const JobRunnerFactory& makeRunner, const std::vector<int>& othersDescriptors);
    // Closes the job pipe and waits a moment for the worker to end; kills it after that.
    ~WorkerProcess();
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    int jobFd() const { return jobs; }
    int answerFd() const { return answers; }

    void send(std::size_t job);
    // Reads what has come, without waiting.
    void readAvailable();
    // The oldest whole answer read and not yet taken.
    std::optional<std::string> takeAnswer();
    // False once the answer pipe has reached its end: the worker has ended.
    bool alive() const { return open; }
    void signal(int number);
    // Waits for the ended worker; its wait status.
    int reap();

private:
    pid_t pid = -1;
    int jobs = -1;
    int answers = -1;
    std::string received;
    bool open = true;
    bool reaped = false;
};
