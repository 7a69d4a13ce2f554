#pragma once

#include <string>

// The engine's log file, opened so that nothing planted at its name is written through: a
// symbolic link there is replaced by the log, and anything but a regular file (a FIFO, a
// device) is refused. The engine opens the log by name; it is given the name of the very file
// opened here (/proc/self/fd/N), so the file cannot be swapped for a link in between.
class LogFile {
public:
    explicit LogFile(const std::string& name);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool opened() const { return descriptor >= 0; }
    // The name under which the engine opens the log; valid while this object lives.
    std::string enginePath() const;
    // Why the log could not be opened.
    const std::string& failure() const { return reason; }

private:
    int descriptor = -1;
    std::string reason;
};
