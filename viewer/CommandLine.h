#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// What the command line asks of the viewer. Without arguments every field keeps its default and
// the viewer opens its window on the resources of its configuration, as it always has.
struct ViewerOptions {
    std::vector<std::string> paths; // .mesh files and folders, in the order given
    std::string screenshotFile;     // empty: open the window for the user
    std::string galleryFolder;      // empty: no gallery
    std::string animation;          // the screenshot's pose; empty for the binding pose
    float time = 0.0f;              // seconds into `animation`
    unsigned int width = 800;       // of the screenshot, in pixels
    unsigned int height = 600;
    unsigned int windowWidth = 0; // of the window; 0: as ogre.cfg says
    unsigned int windowHeight = 0;
};

// Options to run with, or the exit status to end with at once: 0 after the usage text or the
// version, 2 after an option error (one line on `errors`).
struct CommandLine {
    ViewerOptions options;
    std::optional<int> exitStatus;
};

CommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& output,
                             std::ostream& errors);
