// measure_command <runs> <command> [arguments…]: prints the median wall time and processor time
// in seconds and the median peak resident set size in KiB of `runs` runs after one warm-up run.

#include "MeasuredRun.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: measure_command <runs> <command> [arguments...]\n");
        return 2;
    }
    try {
        const RunFigures figures = medianOfRuns({argv + 2, argv + argc}, std::stoi(argv[1]));
        std::printf("%.4f %.4f %ld\n", figures.wallSeconds, figures.cpuSeconds, figures.peakKib);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "measure_command: %s\n", error.what());
        return 1;
    }
    return 0;
}
