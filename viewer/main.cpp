#include "CommandLine.h"
#include "FailureDescription.h"
#include "MyApplication.h"
#include "PictureRuns.h"
#include "ResourcePaths.h"
#include "TimingLog.h"
#include "X11Session.h"

#include <iostream>
#include <memory>

namespace {

int reportFailure(const std::string& message) {
    std::cerr << "Velmora: " << message << '\n';
    return 1;
}

int runViewer(const ViewerOptions& options, ViewerSetup setup, TimingLog& timingLog) {
    // Outlives the handler below, which must read the failure before the engine is gone.
    std::unique_ptr<MyApplication> application;
    try {
        application = std::make_unique<MyApplication>(std::move(setup));
        application->logTimingTo(timingLog);
        if (options.screenshotFile.empty() && options.galleryFolder.empty()) {
            application->run();
            return 0;
        }
        if (!application->startUp())
            return reportFailure("no render configuration");
        application->buildScene();
        if (!options.galleryFolder.empty())
            return writeGallery(application->getLibraryBrowser(), application->getShownModel(),
                                *application->getCamera(), options, timingLog, std::cerr);
        return writeScreenshots(application->getLibraryBrowser(), application->getShownModel(),
                                *application->getCamera(), options, timingLog, std::cerr);
    } catch (...) {
        return reportFailure(describeCurrentException());
    }
}

} // namespace

int main(int argc, char** argv) {
    TimingLog timingLog(timingLogFileName());
    timingLog.programStarted();
    const CommandLine commandLine = parseCommandLine(argc, argv, std::cout, std::cerr);
    if (commandLine.exitStatus)
        return *commandLine.exitStatus;
    const std::vector<std::string>& paths = commandLine.options.paths;
    ViewerSetup setup{configurationFolder(), paths, listModels(paths),
                      commandLine.options.windowWidth, commandLine.options.windowHeight};
    if (!setup.library.error.empty())
        return reportFailure(setup.library.error);
    for (const std::string& note : setup.library.notes)
        std::cerr << "Velmora: " << note << '\n';
    X11Session display;
    if (!display.isOpen())
        return reportFailure("cannot open the X display \"" + display.name() + "\"");
    return runViewer(commandLine.options, std::move(setup), timingLog);
}
