#include "LogFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Without O_NONBLOCK a FIFO of that name would hold the run until someone reads it.
constexpr int logFlags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

int openWithoutFollowing(const std::string& name) {
    const int descriptor = open(name.c_str(), logFlags, 0666);
    if (descriptor >= 0 || errno != ELOOP || unlink(name.c_str()) != 0) {
        return descriptor;
    }
    return open(name.c_str(), logFlags | O_EXCL, 0666);
}

} // namespace

LogFile::LogFile(const std::string& name) : descriptor(openWithoutFollowing(name)) {
    if (descriptor < 0) {
        reason = std::strerror(errno);
        return;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        reason = "it is not a regular file";
        close(descriptor);
        descriptor = -1;
    }
}

LogFile::~LogFile() {
    if (descriptor >= 0) {
        close(descriptor);
    }
}

std::string LogFile::enginePath() const {
    return "/proc/self/fd/" + std::to_string(descriptor);
}
