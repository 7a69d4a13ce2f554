#pragma once

#include <csignal>
#include <iterator>

// While one lives, SIGINT, SIGTERM and SIGHUP no longer end the process at once: they are
// remembered, so that the batch can end its workers, keep what is done and still write its
// report. Blocking calls they interrupt fail with EINTR. SIGPIPE is ignored. They may nest; the
// outermost one forgets an earlier request and restores the handlers before it.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    static constexpr int stopping[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction previous[std::size(stopping)] = {};
    struct sigaction previousPipe = {};
};

// True once one of those signals came while StopSignals lived.
bool stopRequested();

// The number of the last of them that came; 0 when none did.
int stopSignal();
