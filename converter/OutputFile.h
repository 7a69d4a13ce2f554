#pragma once

#include <OgreDataStream.h>

#include <functional>
#include <string>

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
