#pragma once

#include <OgreFrameListener.h>

#include <ctime>
#include <functional>
#include <string>

namespace Ogre {
class RenderTarget;
}

// "velmora-<date>-<time>.png" for the local time given, e.g. "velmora-20261207-153012.png".
std::string screenshotFileName(std::time_t time);

// Saves the window's picture into the working directory on request, once the frame after the
// request is drawn and before it is shown, and reports the outcome in one line.
class ScreenshotTaker : public Ogre::FrameListener {
public:
    using Report = std::function<void(const std::string&)>;

    ScreenshotTaker(Ogre::RenderTarget& window, Report report);

    void request() { requested = true; }

    bool frameRenderingQueued(const Ogre::FrameEvent& event) override;

private:
    Ogre::RenderTarget& window;
    Report report;
    bool requested = false;
};
