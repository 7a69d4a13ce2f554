// Real worker processes with runners made for the test: jobs that answer, crash or hang.
#include "WorkerPool.h"

#include "OutputFile.h"
#include "StopSignals.h"
#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::size_t crashingJob = 3;
constexpr std::size_t hangingJob = 5;

// Answers each job with its number and the worker's pid; job 3 crashes the worker, job 5 hangs
// in the middle of writing a file into its folder.
class TestRunner : public JobRunner {
public:
    explicit TestRunner(std::string folder) : folder(std::move(folder)) {}

    std::string run(std::size_t job) override {
        if (job == crashingJob) {
            std::raise(SIGSEGV);
        }
        if (job == hangingJob) {
            writeOutputFile(folder + "/hung.mesh", [](const Ogre::DataStreamPtr& stream) {
                stream->write("partial", 7);
                for (;;) {
                    pause();
                }
            });
        }
        return std::to_string(job) + " " + std::to_string(getpid());
    }

private:
    std::string folder;
};

class WorkerPoolTest : public testing::Test {
protected:
    bool run(const std::vector<std::size_t>& jobs, int workers, double timeout = 30) {
        return runInWorkers(
            jobs, {workers, timeout}, [this] { return std::make_unique<TestRunner>(work.path()); },
            [this](const JobOutcome& outcome) { outcomes[outcome.job] = outcome; }, [] {});
    }

    TemporaryDirectory work;
    std::map<std::size_t, JobOutcome> outcomes;
};

TEST_F(WorkerPoolTest, EveryJobIsAnsweredAndTheWorkersShareThem) {
    ASSERT_TRUE(run({0, 1, 2, 4, 6, 7, 8, 9}, 3));
    ASSERT_EQ(outcomes.size(), 8U);
    std::set<std::string> pids;
    for (const auto& [job, outcome] : outcomes) {
        ASSERT_TRUE(outcome.answered) << job << ": " << outcome.failure;
        EXPECT_EQ(outcome.answer.substr(0, outcome.answer.find(' ')), std::to_string(job));
        pids.insert(outcome.answer.substr(outcome.answer.find(' ') + 1));
    }
    EXPECT_GE(pids.size(), 2U);
    EXPECT_LE(pids.size(), 3U);
}

TEST_F(WorkerPoolTest, AWorkerThatDiesFailsItsJobAloneAndIsReplaced) {
    ASSERT_TRUE(run({0, crashingJob, 4, 6, 7}, 1));
    ASSERT_EQ(outcomes.size(), 5U);
    EXPECT_FALSE(outcomes[crashingJob].answered);
    EXPECT_EQ(outcomes[crashingJob].failure, "killed by signal 11");
    for (std::size_t job : {0, 4, 6, 7}) {
        EXPECT_TRUE(outcomes[job].answered) << job;
    }
}

// One worker, so that the hanging job waits in its pipe behind job 0 and job 1 behind it: its
// time counts from its start, and job 1 goes to the replacement worker.
TEST_F(WorkerPoolTest, AJobOverTheTimeLimitFailsAndLeavesNoPartialFile) {
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(run({0, hangingJob, 1, 2}, 1, 0.3));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(outcomes[hangingJob].failure, "took longer than 0.3 s");
    EXPECT_TRUE(outcomes[0].answered && outcomes[1].answered && outcomes[2].answered);
    EXPECT_EQ(filesIn(work.path()), std::vector<std::string>{});
}

// A deadline past the clock's range once overflowed into the past.
TEST_F(WorkerPoolTest, ALimitOfAThousandYearsLetsEveryJobFinish) {
    ASSERT_TRUE(run({0, 1, 2, 4, 6}, 1, 3.2e10));
    for (const auto& [job, outcome] : outcomes) {
        EXPECT_TRUE(outcome.answered) << job << ": " << outcome.failure;
    }
}

TEST_F(WorkerPoolTest, SigintEndsTheRunWithinASecondLeavingNoPartialFile) {
    std::thread interrupter([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        kill(getpid(), SIGINT);
    });
    const auto start = std::chrono::steady_clock::now();
    const bool completed = run({0, hangingJob, 1, 2}, 2);
    interrupter.join();
    EXPECT_FALSE(completed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(outcomes.count(hangingJob), 0U);
    EXPECT_EQ(filesIn(work.path()), std::vector<std::string>{});
}

// The batch catches Ctrl-C from its start; one that came while the tree was planned must stop
// the pool too, and the handlers before the batch come back after it.
TEST_F(WorkerPoolTest, ACtrlCBeforeThePoolStartsStopsIt) {
    struct sigaction before = {};
    sigaction(SIGINT, nullptr, &before);
    {
        const StopSignals wholeRun;
        kill(getpid(), SIGINT);
        EXPECT_FALSE(run({0, 1, 2}, 2));
        EXPECT_TRUE(outcomes.empty());
        EXPECT_EQ(stopSignal(), SIGINT);
        // A closed terminal ends the run the same way.
        kill(getpid(), SIGHUP);
        EXPECT_EQ(stopSignal(), SIGHUP);
    }
    struct sigaction after = {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

} // namespace
