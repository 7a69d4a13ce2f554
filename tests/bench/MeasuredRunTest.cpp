#include "MeasuredRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <unistd.h>

// Sleeping takes wall time but next to no processor time; counting does take processor time.
TEST(MeasuredRun, WallTimeCoversTheWholeRunAndProcessorTimeTheWork) {
    const RunFigures sleeping = runMeasured({"sleep", "0.2"});
    EXPECT_GE(sleeping.wallSeconds, 0.2);
    EXPECT_LT(sleeping.wallSeconds, 5.0);
    EXPECT_LT(sleeping.cpuSeconds, 0.1);
    const RunFigures counting =
        runMeasured({"sh", "-c", "i=0; while [ $i -lt 300000 ]; do i=$((i + 1)); done"});
    EXPECT_GT(counting.cpuSeconds, 0.05);
    EXPECT_LE(counting.cpuSeconds, counting.wallSeconds + 0.01);
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
    const std::string counter =
        testing::TempDir() + "measured-run-counter-" + std::to_string(getpid());
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
