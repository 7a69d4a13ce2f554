#include "FailureDescription.h"
#include "MyApplication.h"
#include "TimingLog.h"
#include "X11Session.h"

#include <iostream>
#include <memory>

namespace {

int reportFailure(const std::string& message) {
    std::cerr << "Velmora: " << message << '\n';
    return 1;
}

} // namespace

int main() {
    TimingLog timingLog(timingLogFileName());
    timingLog.programStarted();
    X11Session display;
    if (!display.isOpen())
        return reportFailure("cannot open the X display \"" + display.name() + "\"");
    // Outlives the handler below, which must read the failure before the engine is gone.
    std::unique_ptr<MyApplication> application;
    try {
        application = std::make_unique<MyApplication>();
        application->logTimingTo(timingLog);
        application->run();
        return 0;
    } catch (...) {
        return reportFailure(describeCurrentException());
    }
}
