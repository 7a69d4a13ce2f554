#pragma once
// Runs a command as a child process and takes the kernel's figures for it: wall time around
// the fork and the wait, and the processor time (user and system) and peak resident set size
// that wait4 reports. Processor time shows how much of the wall time was the command's own
// work when other processes share the machine.

#include <string>
#include <vector>

struct RunFigures {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakKib = 0;
};

// The command's standard output goes to /dev/null. Throws std::runtime_error when the command
// cannot be started or does not exit with status 0.
RunFigures runMeasured(const std::vector<std::string>& command);

// One run to warm the caches, then `runs` measured runs; each figure is the median of the
// measured runs, taken on its own.
RunFigures medianOfRuns(const std::vector<std::string>& command, int runs);
