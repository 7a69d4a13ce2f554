#pragma once

#include <ostream>
#include <string>

// One run at a time in an output folder: an exclusive flock on OUTPUT_DIR/.tarnwick-batch.lock.
// The kernel releases it when the last process holding it ends, however it ends (the workers a
// run forks hold it with it), so a killed run never leaves a stale lock. The holder writes its
// pid into the file, for the message of a run that waits.
class OutputFolderLock {
public:
    enum class Result { taken, busy, stopped };

    // Throws std::runtime_error naming the folder and the reason when the lock file can be
    // neither created nor opened.
    explicit OutputFolderLock(const std::string& outputDir);
    ~OutputFolderLock();
    OutputFolderLock(const OutputFolderLock&) = delete;
    OutputFolderLock& operator=(const OutputFolderLock&) = delete;

    // Taken at once when no other run holds it. Otherwise the line "waiting for the run of pid N
    // on OUTPUT_DIR…" goes to messages, and then, when asked to wait, it waits until the lock is
    // free (taken) or a signal interrupts the wait (stopped); else the result is busy.
    Result take(bool wait, std::ostream& messages);

private:
    std::string holderPid() const;
    void writeOwnPid() const;

    std::string outputDir;
    int file = -1;
};
