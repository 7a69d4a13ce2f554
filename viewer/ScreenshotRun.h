#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class ShownModel;
class TimingLog;
struct ViewerOptions;
namespace Ogre {
class Camera;
}

// The command line's --screenshot through the shown model and the camera: the first mesh into the
// file the options name, or, when that names a folder, every mesh into <mesh>.png there. Each mesh
// is posed as the options say and framed. Returns the exit status: 1 when any mesh could not be
// shown, posed or written (each named by one line on `errors`; the others are still written).
int writeScreenshots(ShownModel& shown, Ogre::Camera& camera, const ViewerOptions& options,
                     const std::vector<std::string>& meshNames, TimingLog& timingLog,
                     std::ostream& errors);
