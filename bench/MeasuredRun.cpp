#include "MeasuredRun.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void execWithoutOutput(const std::vector<std::string>& command) {
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0) {
        _exit(126);
    }
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

std::string describe(const std::vector<std::string>& command) {
    std::string text;
    for (const std::string& word : command) {
        text += (text.empty() ? "" : " ") + word;
    }
    return text;
}

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

RunFigures runMeasured(const std::vector<std::string>& command) {
    if (command.empty()) {
        throw std::runtime_error("no command to run");
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot start " + describe(command));
    }
    if (child == 0) {
        execWithoutOutput(command);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        throw std::runtime_error("lost the child running " + describe(command));
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(describe(command) + " failed with status " +
                                 std::to_string(status));
    }
    return {wall.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

RunFigures medianOfRuns(const std::vector<std::string>& command, int runs) {
    if (runs < 1) {
        throw std::runtime_error("at least one measured run is needed");
    }
    runMeasured(command);
    std::vector<double> walls;
    std::vector<double> cpus;
    std::vector<long> peaks;
    for (int run = 0; run < runs; ++run) {
        const RunFigures figures = runMeasured(command);
        walls.push_back(figures.wallSeconds);
        cpus.push_back(figures.cpuSeconds);
        peaks.push_back(figures.peakKib);
    }
    return {median(walls), median(cpus), median(peaks)};
}
