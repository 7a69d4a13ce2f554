#include "OutputFile.h"

#include "ExceptionText.h"

#include <OgreException.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <set>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
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
    CheckedFileStream(const std::string& path, int file, bool syncOnClose)
        : Ogre::DataStream(path, WRITE), file(file), syncOnClose(syncOnClose) {
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
        const bool synced = !syncOnClose || fsync(closing) == 0;
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

    // In pieces of the buffer's size, as the serializers' bytes reach it: the kernel spent up to
    // four times the processor time copying a .glb of tens of megabytes into the page cache in
    // one write as in such pieces.
    void writeAll(const char* bytes, size_t count) {
        while (count > 0) {
            const ssize_t done = ::write(file, bytes, std::min(count, bufferSize));
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
    bool syncOnClose;
    std::vector<char> pending;
    size_t written = 0;
};

// The path up to and including its last '/': empty for a file in the working directory.
std::string folderPartOf(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
}

// The folder a file is in, as a path that can be opened.
std::string folderOf(const std::string& path) {
    const std::string folderPart = folderPartOf(path);
    return folderPart.empty() ? "." : folderPart;
}

// The temporaries this process owns, for removeTemporaryInProgress: the one being written, and
// while DeferredOutputs lives those written and not yet taken. A slot is filled before the first
// byte is written and emptied once its file has its final name or has been handed on.
constexpr int temporarySlots = 5;
char temporaryPaths[temporarySlots][PATH_MAX];
volatile std::sig_atomic_t temporaryExists[temporarySlots] = {};

bool deferring = false;
std::vector<PendingOutput> deferred;
std::vector<int> deferredSlots;

// There is always one: at most all but one hold deferred files.
int freeTemporarySlot() {
    int slot = 0;
    while (temporaryExists[slot]) {
        ++slot;
    }
    return slot;
}

std::string temporaryPrefix(const std::string& outputPath) {
    const std::string folderPart = folderPartOf(outputPath);
    return folderPart + "." + outputPath.substr(folderPart.size()).substr(0, 200) + ".tmp-";
}

// A new file of an unpredictable name "." + base name + ".tmp-XXXXXX" in the output's folder,
// created only where no file or link of that name exists, so nothing planted there is written
// through. Long base names are cut so that the name stays within the file system's limit.
class TemporaryFile {
public:
    // Taken by a slot, which must be free.
    TemporaryFile(const std::string& outputPath, int slot) : slot(slot) {
        std::string pattern = temporaryPrefix(outputPath) + "XXXXXX";
        if (pattern.size() >= PATH_MAX) {
            throw std::runtime_error(std::strerror(ENAMETOOLONG));
        }
        file = mkostemp(pattern.data(), O_CLOEXEC | O_NOFOLLOW);
        if (file < 0) {
            throw std::runtime_error(systemError());
        }
        pattern.copy(temporaryPaths[slot], pattern.size());
        temporaryPaths[slot][pattern.size()] = '\0';
        temporaryExists[slot] = 1;
        path = pattern;
    }

    void renameTo(const std::string& outputPath) {
        if (std::rename(path.c_str(), outputPath.c_str()) != 0) {
            throw std::runtime_error(systemError());
        }
        temporaryExists[slot] = 0;
    }

    // Written whole: kept under its name, in its slot, until DeferredOutputs hands it on.
    void keep() { kept = true; }

    ~TemporaryFile() {
        if (temporaryExists[slot] && !kept) {
            unlink(path.c_str());
            temporaryExists[slot] = 0;
        }
    }

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int file = -1; // handed to the stream, which closes it
    std::string path;

private:
    int slot;
    bool kept = false;
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

// Throws the reason, after the prefix, when the path cannot be opened with the flags or synced.
void syncPath(const std::string& path, int flags, const std::string& failurePrefix) {
    const int descriptor = open(path.c_str(), flags | O_CLOEXEC);
    const bool synced = descriptor >= 0 && fsync(descriptor) == 0;
    const std::string reason = synced ? "" : systemError();
    if (descriptor >= 0) {
        ::close(descriptor);
    }
    if (!synced) {
        throw std::runtime_error(failurePrefix + reason);
    }
}

// Once the rename is on the disk, a crash cannot take the new file away again.
void syncFolderOf(const std::string& outputPath) {
    syncPath(folderOf(outputPath), O_RDONLY | O_DIRECTORY, "the folder could not be synced: ");
}

// Fails when the file cannot be synced, so that nothing is renamed over an output that the
// disk may not hold.
void syncFile(const std::string& path) {
    syncPath(path, O_RDONLY | O_NOFOLLOW, "");
}

// A temporary that does not get to its path is removed.
void moveIntoPlace(const PendingOutput& output) {
    try {
        syncFile(output.temporary);
        if (std::rename(output.temporary.c_str(), output.path.c_str()) != 0) {
            throw std::runtime_error(systemError());
        }
    } catch (...) {
        unlink(output.temporary.c_str());
        throw;
    }
}

// A file written while deferring stays in its temporary, unsynced, as long as a slot stays free
// for the next file in progress; past that, files are put in place at once.
void writeThroughTemporary(const std::string& path,
                           const std::function<void(const Ogre::DataStreamPtr&)>& write) {
    const bool defer = deferring && deferred.size() + 2 <= temporarySlots;
    const int slot = freeTemporarySlot();
    TemporaryFile temporary(path, slot);
    auto stream = std::make_shared<CheckedFileStream>(temporary.path, temporary.file, !defer);
    write(stream);
    if (fchmod(temporary.file, outputMode(path)) != 0) {
        throw std::runtime_error(systemError());
    }
    stream->close();
    if (defer) {
        temporary.keep();
        deferred.push_back({temporary.path, path});
        deferredSlots.push_back(slot);
        return;
    }
    temporary.renameTo(path);
    syncFolderOf(path);
}

template <typename Action> void namingTheFile(const std::string& path, const Action& action) {
    std::string reason;
    try {
        action();
        return;
    } catch (const std::exception& error) {
        reason = describeException(error);
    }
    throw std::runtime_error("Cannot write \"" + path + "\": " + reason);
}

} // namespace

void removeTemporaryInProgress() {
    for (int slot = 0; slot < temporarySlots; ++slot) {
        if (temporaryExists[slot]) {
            unlink(temporaryPaths[slot]);
        }
    }
}

void writeOutputFile(const std::string& path,
                     const std::function<void(const Ogre::DataStreamPtr&)>& write) {
    namingTheFile(path, [&] { writeThroughTemporary(path, write); });
}

DeferredOutputs::DeferredOutputs() {
    deferring = true;
}

DeferredOutputs::~DeferredOutputs() {
    deferring = false;
    for (const PendingOutput& output : take()) {
        unlink(output.temporary.c_str());
    }
}

std::vector<PendingOutput> DeferredOutputs::take() {
    for (const int slot : std::exchange(deferredSlots, {})) {
        temporaryExists[slot] = 0;
    }
    return std::exchange(deferred, {});
}

std::vector<std::string> commitOutputs(const std::vector<PendingOutput>& outputs) {
    std::vector<std::string> errors;
    const auto attempt = [&](const std::string& path, const auto& action) {
        try {
            namingTheFile(path, action);
            return true;
        } catch (const std::exception& error) {
            errors.push_back(error.what());
            return false;
        }
    };
    std::map<std::string, std::string> folders; // folder → an output in it
    for (const PendingOutput& output : outputs) {
        if (attempt(output.path, [&] { moveIntoPlace(output); })) {
            folders.emplace(folderOf(output.path), output.path);
        }
    }
    for (const auto& folderAndOutput : folders) {
        const std::string& path = folderAndOutput.second;
        attempt(path, [&] { syncFolderOf(path); });
    }
    return errors;
}

void removeTemporariesOf(const std::vector<std::string>& paths) {
    // folder part → the temporaries' name prefixes of the outputs in it
    std::map<std::string, std::set<std::string>> namePrefixes;
    for (const std::string& path : paths) {
        const std::string folderPart = folderPartOf(path);
        namePrefixes[folderPart].insert(temporaryPrefix(path).substr(folderPart.size()));
    }
    constexpr std::size_t randomPart = 6;
    for (const auto& [folderPart, prefixes] : namePrefixes) {
        DIR* folder = opendir(folderOf(folderPart).c_str());
        if (folder == nullptr) {
            continue;
        }
        while (const dirent* entry = readdir(folder)) {
            const std::string name = entry->d_name;
            if (name.size() > randomPart &&
                prefixes.count(name.substr(0, name.size() - randomPart)) != 0) {
                unlink((folderPart + name).c_str());
            }
        }
        closedir(folder);
    }
}
