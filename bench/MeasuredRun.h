#pragma once
// Runs a command as a child process and takes the kernel's figures for it: wall time around
// the fork and the wait, and the peak resident set size that wait4 reports.

#include <string>
#include <vector>

struct RunFigures {
    double wallSeconds = 0;
    long peakKib = 0;
};

// The command's standard output goes to /dev/null. Throws std::runtime_error when the command
// cannot be started or does not exit with status 0.
RunFigures runMeasured(const std::vector<std::string>& command);

// One run to warm the caches, then `runs` measured runs; wall time and peak memory are the
// medians of the measured runs, each taken on its own.
RunFigures medianOfRuns(const std::vector<std::string>& command, int runs);
