#pragma once

#include <string>

// A file system of a few pages (tmpfs) mounted over an empty folder for as long as the object
// lives, so that a test can run a disk full. Mounting needs the right to mount; where that is
// missing, mounted() is false and whyNot() says why.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, std::size_t bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return reason.empty(); }
    const std::string& whyNot() const { return reason; }

    // Fills the disk with the file "filler", then frees pagesLeft pages of it again.
    void fillLeaving(std::size_t pagesLeft) const;

private:
    std::string folder;
    std::string reason;
};
