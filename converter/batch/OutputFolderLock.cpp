#include "OutputFolderLock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const lockFileName = ".tarnwick-batch.lock";

// The holder writes its pid right after taking the lock; a waiter may look in between.
constexpr auto pidWait = std::chrono::seconds(1);

} // namespace

OutputFolderLock::OutputFolderLock(const std::string& outputDir) : outputDir(outputDir) {
    const std::string path = (std::filesystem::path(outputDir) / lockFileName).string();
    file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (file < 0) {
        // A folder the run may not write to can still be locked, by a lock file that is there.
        file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    }
    if (file < 0) {
        throw std::runtime_error("cannot lock OUTPUT_DIR " + outputDir + ": " +
                                 std::strerror(errno));
    }
}

OutputFolderLock::~OutputFolderLock() {
    close(file);
}

OutputFolderLock::Result OutputFolderLock::take(bool wait, std::ostream& messages) {
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
        messages << "waiting for the run of pid " << holderPid() << " on " << outputDir << "…"
                 << std::endl;
        if (!wait) {
            return Result::busy;
        }
        if (flock(file, LOCK_EX) != 0) {
            return Result::stopped;
        }
    }
    writeOwnPid();
    return Result::taken;
}

std::string OutputFolderLock::holderPid() const {
    const auto giveUp = std::chrono::steady_clock::now() + pidWait;
    for (;;) {
        char digits[32] = {};
        const ssize_t count = pread(file, digits, sizeof digits - 1, 0);
        if (count > 0 || std::chrono::steady_clock::now() >= giveUp) {
            const std::string text(digits, count > 0 ? static_cast<std::size_t>(count) : 0);
            const std::string pid = text.substr(0, text.find_first_not_of("0123456789"));
            return pid.empty() ? "?" : pid;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void OutputFolderLock::writeOwnPid() const {
    const std::string pid = std::to_string(getpid()) + "\n";
    // A lock file opened read-only keeps the pid of an earlier run; the lock holds all the same.
    [[maybe_unused]] const bool written =
        ftruncate(file, 0) == 0 && pwrite(file, pid.data(), pid.size(), 0) > 0;
}
