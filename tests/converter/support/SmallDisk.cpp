#include "SmallDisk.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

SmallDisk::SmallDisk(const std::string& folder, std::size_t bytes) : folder(folder) {
    const std::string options = "size=" + std::to_string(bytes);
    if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        reason = "cannot mount a tmpfs here (" + std::string(std::strerror(errno)) + ")";
    }
}

SmallDisk::~SmallDisk() {
    if (mounted()) {
        umount2(folder.c_str(), MNT_DETACH);
    }
}

// Whole pages, so that freeing one page's worth of the filler frees exactly one page.
void SmallDisk::fillLeaving(std::size_t pagesLeft) const {
    const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::string filler = folder + "/filler";
    const int file = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0) {
        throw std::runtime_error("cannot create " + filler);
    }
    const std::vector<char> page(pageSize, 'x');
    std::size_t pages = 0;
    while (write(file, page.data(), pageSize) == static_cast<ssize_t>(pageSize)) {
        ++pages;
    }
    const bool freed = pages >= pagesLeft &&
                       ftruncate(file, static_cast<off_t>((pages - pagesLeft) * pageSize)) == 0;
    close(file);
    if (!freed) {
        throw std::runtime_error("cannot leave " + std::to_string(pagesLeft) + " pages free");
    }
}
