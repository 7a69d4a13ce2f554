#pragma once

#include <OgreFrameListener.h>

#include <cstddef>
#include <fstream>
#include <functional>
#include <string>

namespace Ogre {
class AnimationState;
}

// When the viewer reached the moments a user waits for, one line each, for the bench to time
// the viewer by its own frame events: "start", "first-frame", "mesh-accepted" and "mesh-frame"
// with the mesh's name, "animation-frame" with the frame's own length, "screenshot" with the
// name of each picture the command line asked for once it is written, and "filter-typed",
// "filter-listed" and "filter-frame" with the number of matches for each change of the library's
// filter text. Times are seconds since the process was created. A log made without a file name
// writes nothing.
class TimingLog : public Ogre::FrameListener {
public:
    explicit TimingLog(const std::string& fileName);

    bool isOn() const { return file.is_open(); }

    void programStarted();
    void meshAccepted(const std::string& meshName);
    // The next frame to end is the first that shows the mesh.
    void meshShown(const std::string& meshName);
    void screenshotWritten(const std::string& fileName);
    // The filter box's text has changed; the list holds the matches and the next frame to end
    // is the first that shows them.
    void filterTyped();
    void filterListed(std::size_t matches);
    // Gives the animation that plays, or null; asked at each frame's end.
    using PlayingAnimation = std::function<const Ogre::AnimationState*()>;
    void follow(PlayingAnimation playingAnimation);

    bool frameEnded(const Ogre::FrameEvent& event) override;

private:
    void write(const std::string& event, const std::string& detail = "");
    bool animationPlays() const;

    std::ofstream file;
    double processCreated = 0;
    long framesEnded = 0;
    std::string meshOnItsWay;
    std::string listingOnItsWay;
    PlayingAnimation playing;
};

// The file that VELMORA_TIMING_LOG names, or an empty name when it is not set.
std::string timingLogFileName();
