#pragma once

#include <iosfwd>

class LibraryBrowser;
class ShownModel;
class TimingLog;
struct ViewerOptions;
namespace Ogre {
class Camera;
}

// The command line's --screenshot through the library's models and the camera: the first model
// into the file the options name, or, when that names a folder, every model into <mesh>.png there.
// Each model is posed as the options say and framed. Returns the exit status: 1 when any model
// could not be shown, posed or written (each named by one line on `errors`; the others are still
// written).
int writeScreenshots(LibraryBrowser& library, ShownModel& shown, Ogre::Camera& camera,
                     const ViewerOptions& options, TimingLog& timingLog, std::ostream& errors);
