#include "MeasuredRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

TEST(MeasuredRun, WallTimeCoversTheWholeRun) {
    const RunFigures figures = runMeasured({"sleep", "0.2"});
    EXPECT_GE(figures.wallSeconds, 0.2);
    EXPECT_LT(figures.wallSeconds, 5.0);
}

// dd fills its one block buffer, so the child's peak holds at least that block; the measuring
// process itself holds far less.
TEST(MeasuredRun, PeakMemoryIsTheChildsOwn) {
    const RunFigures figures =
        runMeasured({"dd", "if=/dev/zero", "of=/dev/null", "bs=64M", "count=1", "status=none"});
    EXPECT_GE(figures.peakKib, 64 * 1024);
    EXPECT_LT(runMeasured({"true"}).peakKib, 16 * 1024);
}

TEST(MeasuredRun, AFailingCommandIsNotMeasured) {
    EXPECT_THROW(runMeasured({"false"}), std::runtime_error);
    EXPECT_THROW(runMeasured({"no-such-command-anywhere"}), std::runtime_error);
    EXPECT_THROW(runMeasured({}), std::runtime_error);
}

TEST(MeasuredRun, MediansNeedAtLeastOneRun) {
    EXPECT_THROW(medianOfRuns({"true"}, 0), std::runtime_error);
}

// The command counts its runs in a file: the warm-up run and the first measured run are slow,
// the other two quick. Only the median of the measured runs is quick.
TEST(MeasuredRun, MedianLeavesOutTheWarmUpAndTheOutlier) {
    const std::string counter = testing::TempDir() + "measured-run-counter";
    std::remove(counter.c_str());
    const std::string script = "n=$(cat '" + counter +
                               "' 2>/dev/null || echo 0); echo $((n + 1)) > '" + counter +
                               "'; case $n in 0) sleep 0.6 ;; 1) sleep 0.3 ;; esac";
    const RunFigures figures = medianOfRuns({"sh", "-c", script}, 3);
    EXPECT_LT(figures.wallSeconds, 0.1);
    std::remove(counter.c_str());
}

TEST(MeasuredRun, ACommandFailingOnAnyRunFailsTheMeasurement) {
    EXPECT_THROW(medianOfRuns({"false"}, 3), std::runtime_error);
}
