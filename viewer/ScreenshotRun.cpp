#include "PictureRuns.h"

#include "CommandLine.h"
#include "LibraryBrowser.h"
#include "Screenshot.h"
#include "ShownModel.h"
#include "TimingLog.h"

#include <OgreCamera.h>

#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace {

// Why the mesh could not be written into `fileName`, or "". A mesh shown without all it needs
// is still written, and what it lacks said on `errors`.
std::string screenshotOf(LibraryBrowser& library, std::size_t model, ShownModel& shown,
                         Ogre::Camera& camera, const ViewerOptions& options,
                         const std::string& fileName, std::ostream& errors) {
    const std::string meshName = library.library().models[model].file.filename().string();
    const std::string message = library.show(model);
    if (!shown.entity())
        return message;
    if (!message.empty())
        errors << "Velmora: " << message << '\n';
    if (!options.animation.empty() && !shown.pose(options.animation, options.time))
        return meshName + " has no animation \"" + options.animation + "\"";
    return writeFramedPicture(shown, camera, options, fileName);
}

} // namespace

// The aspect is set before framing, which fits the model into the picture's shape.
std::string writeFramedPicture(ShownModel& shown, Ogre::Camera& camera,
                               const ViewerOptions& options, const std::string& fileName) {
    camera.setAspectRatio(static_cast<float>(options.width) / static_cast<float>(options.height));
    shown.frame(camera);
    return writeScreenshot(camera, options.width, options.height, fileName);
}

int writeScreenshots(LibraryBrowser& library, ShownModel& shown, Ogre::Camera& camera,
                     const ViewerOptions& options, TimingLog& timingLog, std::ostream& errors) {
    std::error_code ignored;
    const bool intoFolder = fs::is_directory(options.screenshotFile, ignored);
    int status = 0;
    for (std::size_t model = 0; model < library.library().models.size(); ++model) {
        const fs::path& meshFile = library.library().models[model].file;
        const std::string fileName =
            intoFolder
                ? (fs::path(options.screenshotFile) / meshFile.stem()).concat(".png").string()
                : options.screenshotFile;
        const std::string failure =
            screenshotOf(library, model, shown, camera, options, fileName, errors);
        if (failure.empty()) {
            timingLog.screenshotWritten(fileName);
        } else {
            errors << "Velmora: " << failure << '\n';
            status = 1;
        }
        if (!intoFolder)
            break;
    }
    return status;
}
