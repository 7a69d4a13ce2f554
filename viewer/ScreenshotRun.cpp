#include "ScreenshotRun.h"

#include "CommandLine.h"
#include "MyApplication.h"
#include "Screenshot.h"
#include "TimingLog.h"

#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreEntity.h>

#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace {

// Why the shown model cannot take the pose, or "" once it has.
std::string pose(Ogre::Entity& model, const std::string& meshName, const ViewerOptions& options) {
    if (options.animation.empty())
        return "";
    if (!model.hasAnimationState(options.animation))
        return meshName + " has no animation \"" + options.animation + "\"";
    Ogre::AnimationState* animation = model.getAnimationState(options.animation);
    animation->setEnabled(true);
    animation->setLoop(false);
    animation->setTimePosition(options.time);
    return "";
}

// Why the mesh could not be written into `fileName`, or "". A mesh shown without all it needs
// is still written, and what it lacks said on `errors`.
std::string screenshotOf(MyApplication& application, const std::string& meshName,
                         const ViewerOptions& options, const std::string& fileName,
                         std::ostream& errors) {
    const std::string shown = application.showMesh(meshName);
    Ogre::Entity* model = application.getEntity();
    if (!model)
        return shown;
    if (!shown.empty())
        errors << "Velmora: " << shown << '\n';
    const std::string posed = pose(*model, meshName, options);
    if (!posed.empty())
        return posed;
    Ogre::Camera& camera = *application.getCamera();
    camera.setAspectRatio(static_cast<float>(options.width) / static_cast<float>(options.height));
    application.frameShownModel();
    return writeScreenshot(camera, options.width, options.height, fileName);
}

} // namespace

int writeScreenshots(MyApplication& application, const ViewerOptions& options,
                     const std::vector<std::string>& meshNames, TimingLog& timingLog,
                     std::ostream& errors) {
    std::error_code ignored;
    const bool intoFolder = fs::is_directory(options.screenshotFile, ignored);
    int status = 0;
    for (const std::string& meshName : meshNames) {
        const std::string fileName =
            intoFolder ? (fs::path(options.screenshotFile) / fs::path(meshName).stem())
                             .concat(".png")
                             .string()
                       : options.screenshotFile;
        const std::string failure = screenshotOf(application, meshName, options, fileName, errors);
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
