#include "OutputFile.h"

#include <OgreException.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace {

std::string systemError() {
    return std::strerror(errno);
}

// A file stream whose writes fail loudly: the engine's own file streams ignore a full disk.
class CheckedFileStream : public Ogre::DataStream {
public:
    explicit CheckedFileStream(const std::string& path)
        : Ogre::DataStream(path, WRITE), file(std::fopen(path.c_str(), "wb")) {
        if (file == nullptr) {
            throw std::runtime_error(systemError());
        }
    }
    ~CheckedFileStream() override {
        if (file != nullptr) {
            std::fclose(file);
        }
    }

    size_t write(const void* buffer, size_t count) override {
        if (std::fwrite(buffer, 1, count, file) != count) {
            throw std::runtime_error(systemError());
        }
        written += count;
        return count;
    }

    // Flushed to the disk, so that a full disk shows here and not after the rename.
    void close() override {
        FILE* closing = file;
        file = nullptr;
        const bool flushed = std::fflush(closing) == 0 && fsync(fileno(closing)) == 0;
        const std::string reason = flushed ? "" : systemError();
        if (std::fclose(closing) != 0 || !flushed) {
            throw std::runtime_error(flushed ? systemError() : reason);
        }
    }

    size_t read(void*, size_t) override { return 0; }
    void skip(long) override {}
    void seek(size_t) override {}
    size_t tell() const override { return written; }
    bool eof() const override { return false; }

private:
    FILE* file;
    size_t written = 0;
};

std::string temporaryPathFor(const std::string& path) {
    return path + ".partial-" + std::to_string(getpid());
}

void writeTemporary(const std::string& temporaryPath,
                    const std::function<void(const Ogre::DataStreamPtr&)>& write) {
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
        if (std::rename(temporaryPath.c_str(), path.c_str()) == 0) {
            return;
        }
        reason = systemError();
    } catch (const Ogre::Exception& error) {
        reason = error.getDescription();
    } catch (const std::exception& error) {
        reason = error.what();
    }
    std::remove(temporaryPath.c_str());
    throw std::runtime_error("Cannot write \"" + path + "\": " + reason);
}
