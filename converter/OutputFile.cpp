#include "OutputFile.h"

#include "ExceptionText.h"

#include <OgreException.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string systemError() {
    return std::strerror(errno);
}

// A file stream whose writes fail loudly: the engine's own file streams ignore a full disk.
// The serializers write a few bytes at a time, so the stream gathers them in a buffer of its own.
class CheckedFileStream : public Ogre::DataStream {
public:
    // Takes over the open descriptor.
    CheckedFileStream(const std::string& path, int file)
        : Ogre::DataStream(path, WRITE), file(file) {
        pending.reserve(bufferSize);
    }
    ~CheckedFileStream() override {
        if (file >= 0) {
            ::close(file);
        }
    }

    size_t write(const void* buffer, size_t count) override {
        if (pending.size() + count > bufferSize) {
            flushPending();
        }
        const auto* bytes = static_cast<const char*>(buffer);
        if (count >= bufferSize) {
            writeAll(bytes, count);
        } else {
            pending.insert(pending.end(), bytes, bytes + count);
        }
        written += count;
        return count;
    }

    // Flushed to the disk, so that a full disk shows here and not after the rename.
    void close() override {
        flushPending();
        const int closing = file;
        file = -1;
        const bool synced = fsync(closing) == 0;
        const std::string reason = synced ? "" : systemError();
        if (::close(closing) != 0 || !synced) {
            throw std::runtime_error(synced ? systemError() : reason);
        }
    }

    size_t read(void*, size_t) override { return 0; }
    void skip(long) override {}
    void seek(size_t) override {}
    size_t tell() const override { return written; }
    bool eof() const override { return false; }

private:
    static constexpr size_t bufferSize = 64 * 1024;

    void flushPending() {
        writeAll(pending.data(), pending.size());
        pending.clear();
    }

    void writeAll(const char* bytes, size_t count) {
        while (count > 0) {
            const ssize_t done = ::write(file, bytes, count);
            if (done < 0 && errno == EINTR) {
                continue;
            }
            if (done <= 0) {
                throw std::runtime_error(done == 0 ? "nothing could be written" : systemError());
            }
            bytes += done;
            count -= static_cast<size_t>(done);
        }
    }

    int file;
    std::vector<char> pending;
    size_t written = 0;
};

// The path up to and including its last '/': empty for a file in the working directory.
std::string folderPartOf(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
}

// The temporary currently being written, for removeTemporaryInProgress: filled before the
// first byte is written and emptied once the file has its final name.
char temporaryInProgress[PATH_MAX];
volatile std::sig_atomic_t temporaryExists = 0;

// A new file of an unpredictable name "." + base name + ".tmp-XXXXXX" in the output's folder,
// created only where no file or link of that name exists, so nothing planted there is written
// through. Long base names are cut so that the name stays within the file system's limit.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& outputPath) {
        const std::string folderPart = folderPartOf(outputPath);
        const std::string baseName = outputPath.substr(folderPart.size()).substr(0, 200);
        std::string pattern = folderPart + "." + baseName + ".tmp-XXXXXX";
        if (pattern.size() >= sizeof temporaryInProgress) {
            throw std::runtime_error(std::strerror(ENAMETOOLONG));
        }
        file = mkostemp(pattern.data(), O_CLOEXEC | O_NOFOLLOW);
        if (file < 0) {
            throw std::runtime_error(systemError());
        }
        pattern.copy(temporaryInProgress, pattern.size());
        temporaryInProgress[pattern.size()] = '\0';
        temporaryExists = 1;
        path = pattern;
    }

    void renameTo(const std::string& outputPath) {
        if (std::rename(path.c_str(), outputPath.c_str()) != 0) {
            throw std::runtime_error(systemError());
        }
        temporaryExists = 0;
    }

    ~TemporaryFile() {
        if (temporaryExists) {
            unlink(path.c_str());
            temporaryExists = 0;
        }
    }

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int file = -1; // handed to the stream, which closes it
    std::string path;
};

// The permission bits of the file being replaced, or those any new file gets (0666 less the
// umask). A link at the output's name is replaced, so its target's bits do not count.
mode_t outputMode(const std::string& outputPath) {
    struct stat existing {};
    if (lstat(outputPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        return existing.st_mode & 0777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Once the rename is on the disk, a crash cannot take the new file away again.
void syncFolderOf(const std::string& outputPath) {
    const std::string folderPart = folderPartOf(outputPath);
    const std::string folder = folderPart.empty() ? "." : folderPart;
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = descriptor >= 0 && fsync(descriptor) == 0;
    const std::string reason = synced ? "" : systemError();
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!synced) {
        throw std::runtime_error("the folder could not be synced: " + reason);
    }
}

void writeThroughTemporary(const std::string& path,
                           const std::function<void(const Ogre::DataStreamPtr&)>& write) {
    TemporaryFile temporary(path);
    auto stream = std::make_shared<CheckedFileStream>(temporary.path, temporary.file);
    write(stream);
    if (fchmod(temporary.file, outputMode(path)) != 0) {
        throw std::runtime_error(systemError());
    }
    stream->close();
    temporary.renameTo(path);
}

} // namespace

void removeTemporaryInProgress() {
    if (temporaryExists) {
        unlink(temporaryInProgress);
    }
}

void writeOutputFile(const std::string& path,
                     const std::function<void(const Ogre::DataStreamPtr&)>& write) {
    std::string reason;
    try {
        writeThroughTemporary(path, write);
        syncFolderOf(path);
        return;
    } catch (const std::exception& error) {
        reason = describeException(error);
    }
    throw std::runtime_error("Cannot write \"" + path + "\": " + reason);
}
