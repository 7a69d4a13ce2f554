#include "WindowScreenshot.h"

#include "FailureDescription.h"

#include <OgreRenderTarget.h>

std::string screenshotFileName(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char name[64];
    std::strftime(name, sizeof name, "velmora-%Y%m%d-%H%M%S.png", &local);
    return name;
}

ScreenshotTaker::ScreenshotTaker(Ogre::RenderTarget& window, Report report)
    : window(window), report(std::move(report)) {}

bool ScreenshotTaker::frameRenderingQueued(const Ogre::FrameEvent&) {
    if (!requested)
        return true;
    requested = false;
    const std::string fileName = screenshotFileName(std::time(nullptr));
    try {
        window.writeContentsToFile(fileName);
        report("Saved " + fileName);
    } catch (...) {
        report("Cannot save " + fileName + ": " + describeCurrentException());
    }
    return true;
}
