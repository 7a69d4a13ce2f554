#include "TimingLog.h"

#include <OgreAnimationState.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Line {
    std::string event;
    double seconds = -1;
    std::string detail;
};

std::vector<Line> readLog(const std::string& fileName) {
    std::ifstream file(fileName);
    std::vector<Line> lines;
    std::string text;
    while (std::getline(file, text)) {
        std::istringstream fields(text);
        Line line;
        fields >> line.event >> line.seconds;
        std::getline(fields >> std::ws, line.detail);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> eventsOf(const std::vector<Line>& lines) {
    std::vector<std::string> events;
    for (const Line& line : lines)
        events.push_back(line.event + (line.detail.empty() ? "" : " " + line.detail));
    return events;
}

Ogre::FrameEvent frameOf(float seconds) {
    return {0.0f, seconds};
}

// Apart by more than the log's tenth of a millisecond.
void letTimePass() {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

class TimingLogTest : public ::testing::Test {
protected:
    // One file per process: the test runner starts several of these tests at once.
    const std::string fileName =
        testing::TempDir() + "velmora-timing-" + std::to_string(getpid()) + ".log";
    TimingLog log{fileName};
    Ogre::AnimationStateSet animations;
    Ogre::AnimationState* walk = animations.createAnimationState("Walk", 0.0f, 1.0f);
    Ogre::AnimationState* activeAnimation = nullptr;

    void SetUp() override {
        walk->setLoop(false);
        log.follow([this] { return activeAnimation; });
    }
    void play() {
        walk->setEnabled(true);
        activeAnimation = walk;
    }
};

} // namespace

TEST_F(TimingLogTest, RecordsTheViewersMomentsInOrderWithRisingTimes) {
    log.programStarted();
    letTimePass();
    log.frameEnded(frameOf(0.5f));
    letTimePass();
    log.meshAccepted("big.mesh");
    log.meshShown("big.mesh");
    letTimePass();
    log.frameEnded(frameOf(0.03f));
    play();
    letTimePass();
    log.frameEnded(frameOf(0.25f));

    const std::vector<Line> lines = readLog(fileName);
    EXPECT_EQ(eventsOf(lines),
              (std::vector<std::string>{"start", "first-frame", "mesh-accepted big.mesh",
                                        "mesh-frame big.mesh", "animation-frame 0.2500"}));
    ASSERT_FALSE(lines.empty());
    // Counted from the creation of this young process, not from the machine's start.
    EXPECT_GT(lines.front().seconds, 0.0);
    EXPECT_LT(lines.front().seconds, 60.0);
    for (size_t next = 1; next < lines.size(); ++next)
        EXPECT_GT(lines[next].seconds, lines[next - 1].seconds) << lines[next].event;
}

TEST_F(TimingLogTest, OnlyTheFirstFrameAndTheFirstFrameOfAMeshOrAListingAreMarked) {
    log.meshShown("typical.mesh");
    log.frameEnded(frameOf(0.1f));
    log.frameEnded(frameOf(0.1f));
    log.filterTyped();
    log.filterListed(0);
    log.frameEnded(frameOf(0.1f));
    log.frameEnded(frameOf(0.1f));
    EXPECT_EQ(eventsOf(readLog(fileName)),
              (std::vector<std::string>{"first-frame", "mesh-frame typical.mesh", "filter-typed",
                                        "filter-listed 0", "filter-frame 0"}));
}

// Stopped, disabled, or resting on its last pose after running once: no animation plays.
TEST_F(TimingLogTest, FramesCountAsAnimationFramesOnlyWhileOnePlays) {
    log.frameEnded(frameOf(0.1f));
    play();
    walk->setEnabled(false);
    log.frameEnded(frameOf(0.1f));
    play();
    log.frameEnded(frameOf(0.1f));
    walk->addTime(1.0f);
    log.frameEnded(frameOf(0.1f));
    EXPECT_EQ(eventsOf(readLog(fileName)),
              (std::vector<std::string>{"first-frame", "animation-frame 0.1000"}));
}

TEST(TimingLogFile, IsNamedByTheEnvironmentAndOffWithoutIt) {
    unsetenv("VELMORA_TIMING_LOG");
    EXPECT_EQ(timingLogFileName(), "");
    EXPECT_FALSE(TimingLog(timingLogFileName()).isOn());
    setenv("VELMORA_TIMING_LOG", "timing.txt", 1);
    EXPECT_EQ(timingLogFileName(), "timing.txt");
    unsetenv("VELMORA_TIMING_LOG");
}
