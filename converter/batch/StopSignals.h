#pragma once

#include <csignal>

// While one lives, SIGINT and SIGTERM no longer end the process at once: they are remembered,
// so that the batch can end its workers, keep what is done and still write its report. Blocking
// calls they interrupt fail with EINTR. SIGPIPE is ignored. They may nest; the outermost one
// forgets an earlier request and restores the handlers before it.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    struct sigaction previousInterrupt = {};
    struct sigaction previousTerminate = {};
    struct sigaction previousPipe = {};
};

// True once SIGINT or SIGTERM came while StopSignals lived.
bool stopRequested();
