#pragma once

#include <iosfwd>
#include <string>

class LibraryBrowser;
class ShownModel;
class TimingLog;
struct ViewerOptions;
namespace Ogre {
class Camera;
}

// The command line's two runs that draw pictures instead of opening the window for the user.
// Each model is shown through the library, posed as the options say and framed, and drawn on
// white at the options' size. Each returns the exit status: 1 when any model could not be shown,
// posed or written (each named by one line on `errors`; the others are still drawn).

// --screenshot: the first model into the file the options name, or, when that names a folder,
// every model into <mesh>.png there. A model without the animation asked for is a failure.
int writeScreenshots(LibraryBrowser& library, ShownModel& shown, Ogre::Camera& camera,
                     const ViewerOptions& options, TimingLog& timingLog, std::ostream& errors);

// The model on show framed for a picture of the options' size and written into `fileName`; why
// it could not be written, or "".
std::string writeFramedPicture(ShownModel& shown, Ogre::Camera& camera,
                               const ViewerOptions& options, const std::string& fileName);

// --gallery: every model into <gallery folder>/<relative path>.png, posed where it has the
// animation (else in its binding pose), and the page index.html listing them all with their
// facts and failures. A picture newer than the files it was drawn from is kept as it is.
int writeGallery(LibraryBrowser& library, ShownModel& shown, Ogre::Camera& camera,
                 const ViewerOptions& options, TimingLog& timingLog, std::ostream& errors);
