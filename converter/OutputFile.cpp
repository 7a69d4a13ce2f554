#include "OutputFile.h"

#include <OgreException.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
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
    explicit CheckedFileStream(const std::string& path)
        : Ogre::DataStream(path, WRITE),
          file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666)) {
        if (file < 0) {
            throw std::runtime_error(systemError());
        }
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

// The temporary being written, for removeTemporaryInProgress: a plain buffer, since a signal
// handler may read it at any moment. Empty when no file is being written.
char temporaryInProgress[4096];

void setTemporaryInProgress(const std::string& path) {
    temporaryInProgress[0] = '\0';
    if (path.size() < sizeof temporaryInProgress) {
        std::memcpy(temporaryInProgress + 1, path.c_str() + 1, path.size());
        temporaryInProgress[0] = path[0];
    }
}

std::string temporaryPathFor(const std::string& path) {
    return path + ".partial-" + std::to_string(getpid());
}

void writeTemporary(const std::string& temporaryPath,
                    const std::function<void(const Ogre::DataStreamPtr&)>& write) {
    setTemporaryInProgress(temporaryPath);
    auto stream = std::make_shared<CheckedFileStream>(temporaryPath);
    write(stream);
    stream->close();
}

} // namespace

void writeOutputFile(const std::string& path,
                     const std::function<void(const Ogre::DataStreamPtr&)>& write) {
    const std::string temporaryPath = temporaryPathFor(path);
    std::string reason;
    try {
        writeTemporary(temporaryPath, write);
        const bool renamed = std::rename(temporaryPath.c_str(), path.c_str()) == 0;
        reason = systemError();
        setTemporaryInProgress("");
        if (renamed) {
            return;
        }
    } catch (const Ogre::Exception& error) {
        reason = error.getDescription();
    } catch (const std::exception& error) {
        reason = error.what();
    }
    std::remove(temporaryPath.c_str());
    setTemporaryInProgress("");
    throw std::runtime_error("Cannot write \"" + path + "\": " + reason);
}

void removeTemporaryInProgress() {
    if (temporaryInProgress[0] != '\0') {
        unlink(temporaryInProgress);
    }
}
