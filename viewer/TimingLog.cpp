#include "TimingLog.h"

#include <OgreAnimationState.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <unistd.h>
#include <utility>

namespace {

double secondsSinceBoot() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The kernel stamps a process's creation in clock ticks since boot (field 22 of its stat
// line), so the loading of the libraries before the program entry counts too; a tick is
// 10 ms, which is as close as the figures get. The command name in parentheses may hold spaces.
double processCreatedSinceBoot() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string skipped;
    for (int field = 3; field < 22; ++field)
        fields >> skipped;
    unsigned long long ticks = 0;
    fields >> ticks;
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string decimals(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", seconds);
    return text;
}

} // namespace

std::string timingLogFileName() {
    const char* name = std::getenv("VELMORA_TIMING_LOG");
    return name ? name : "";
}

TimingLog::TimingLog(const std::string& fileName) {
    if (fileName.empty())
        return;
    file.open(fileName, std::ios::trunc);
    processCreated = processCreatedSinceBoot();
}

void TimingLog::programStarted() {
    write("start");
}

void TimingLog::meshAccepted(const std::string& meshName) {
    write("mesh-accepted", meshName);
}

void TimingLog::screenshotWritten(const std::string& fileName) {
    write("screenshot", fileName);
}

void TimingLog::filterTyped() {
    write("filter-typed");
}

void TimingLog::filterListed(std::size_t matches) {
    listingOnItsWay = std::to_string(matches);
    write("filter-listed", listingOnItsWay);
}

void TimingLog::meshShown(const std::string& meshName) {
    meshOnItsWay = meshName;
}

void TimingLog::follow(PlayingAnimation playingAnimation) {
    playing = std::move(playingAnimation);
}

bool TimingLog::frameEnded(const Ogre::FrameEvent& event) {
    if (++framesEnded == 1)
        write("first-frame");
    if (!meshOnItsWay.empty()) {
        write("mesh-frame", meshOnItsWay);
        meshOnItsWay.clear();
    }
    if (!listingOnItsWay.empty()) {
        write("filter-frame", listingOnItsWay);
        listingOnItsWay.clear();
    }
    if (animationPlays())
        write("animation-frame", decimals(event.timeSinceLastFrame));
    return true;
}

// An animation that has run to its end rests on its last pose, which costs no more posing.
bool TimingLog::animationPlays() const {
    const Ogre::AnimationState* animation = playing ? playing() : nullptr;
    return animation && animation->getEnabled() && !animation->hasEnded();
}

// Each line goes out at once: the bench reads the log while the viewer runs.
void TimingLog::write(const std::string& event, const std::string& detail) {
    if (!isOn())
        return;
    file << event << ' ' << decimals(secondsSinceBoot() - processCreated);
    if (!detail.empty())
        file << ' ' << detail;
    file << std::endl;
}
