#include "StopSignals.h"

namespace {

volatile std::sig_atomic_t stopFlag = 0;
int depth = 0;

void requestStop(int) {
    stopFlag = 1;
}

} // namespace

StopSignals::StopSignals() {
    if (depth++ > 0) {
        return;
    }
    stopFlag = 0;
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, &previousPipe);
}

StopSignals::~StopSignals() {
    if (--depth > 0) {
        return;
    }
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    sigaction(SIGPIPE, &previousPipe, nullptr);
}

bool stopRequested() {
    return stopFlag != 0;
}
