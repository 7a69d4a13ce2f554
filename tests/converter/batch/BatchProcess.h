#pragma once

#include "support/ConverterProcess.h"

#include <string>
#include <sys/types.h>
#include <vector>

// tarnwick-batch started in a working folder, its standard output and error caught in files.
class BatchProcess {
public:
    BatchProcess(const std::string& workingDirectory, const std::vector<std::string>& arguments);
    ~BatchProcess();
    BatchProcess(const BatchProcess&) = delete;
    BatchProcess& operator=(const BatchProcess&) = delete;

    pid_t pid() const { return child; }
    // What it wrote to standard error so far.
    std::string errorsSoFar() const;
    // Waits for the end (killing it after timeLimit seconds); as runTarnwick reports a run.
    ConverterRun wait(int timeLimit = 60);

private:
    TemporaryDirectory capture;
    pid_t child = -1;
    bool ended = false;
};

ConverterRun runBatchTool(const std::string& workingDirectory,
                          const std::vector<std::string>& arguments);
