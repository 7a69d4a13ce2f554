#include "StopSignals.h"

namespace {

volatile std::sig_atomic_t stopNumber = 0;
int depth = 0;

void requestStop(int number) {
    stopNumber = number;
}

} // namespace

StopSignals::StopSignals() {
    if (depth++ > 0) {
        return;
    }
    stopNumber = 0;
    struct sigaction action = {};
    action.sa_handler = requestStop;
    for (std::size_t i = 0; i < std::size(stopping); ++i) {
        sigaction(stopping[i], &action, &previous[i]);
    }
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, &previousPipe);
}

StopSignals::~StopSignals() {
    if (--depth > 0) {
        return;
    }
    for (std::size_t i = 0; i < std::size(stopping); ++i) {
        sigaction(stopping[i], &previous[i], nullptr);
    }
    sigaction(SIGPIPE, &previousPipe, nullptr);
}

bool stopRequested() {
    return stopNumber != 0;
}

int stopSignal() {
    return stopNumber;
}
