#pragma once

#include <OgreDataStream.h>

#include <functional>
#include <string>
#include <vector>

// Writes a file so that it is either complete or not there at all: the content goes to a
// temporary file beside it, every write is checked, and only a complete file is renamed over
// the target. An existing file of that name stays as it was when anything fails.
// In a folder that others can write to, nothing planted there is written through: the
// temporary, "." + base name + ".tmp-XXXXXX" with six random characters, is created only
// where no file or link of that name exists, and a link at the target's name is replaced,
// never followed. The new file keeps the permission bits of the file it replaces, or gets
// 0666 less the umask; the folder is synced after the rename. Throws std::runtime_error
// naming the file and the reason.
void writeOutputFile(const std::string& path,
                     const std::function<void(const Ogre::DataStreamPtr&)>& write);

// Unlinks the temporary that writeOutputFile is writing, if any. Safe to call from a signal
// handler, so that a process ended by a signal leaves no partial file behind.
void removeTemporaryInProgress();

// A complete file in its temporary, not yet synced nor in place.
struct PendingOutput {
    std::string temporary;
    std::string path;
};

// While one lives, writeOutputFile leaves each complete file in its temporary, unsynced, for
// another process to put in place with commitOutputs, so that the writer need not wait for the
// disk. Up to four files are kept so; further ones are put in place at once. Until they are
// taken, removeTemporaryInProgress removes them too; those never taken are removed at the end.
class DeferredOutputs {
public:
    DeferredOutputs();
    ~DeferredOutputs();
    DeferredOutputs(const DeferredOutputs&) = delete;
    DeferredOutputs& operator=(const DeferredOutputs&) = delete;

    // The files kept since the last call; from here on the caller answers for them.
    std::vector<PendingOutput> take();
};

// Syncs each temporary and renames it over its path, then syncs their folders, each once. The
// messages, naming the output and the reason, of those that failed; a temporary that did not
// get to its path is removed.
std::vector<std::string> commitOutputs(const std::vector<PendingOutput>& outputs);

// Removes what writers ended by a signal may have left of their temporaries for the outputs;
// reads each folder once.
void removeTemporariesOf(const std::vector<std::string>& paths);
