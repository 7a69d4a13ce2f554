#pragma once

#include <OgreDataStream.h>

#include <functional>
#include <string>

// Writes a file so that it is either complete or not there at all: the content goes to a
// temporary file beside it, every write is checked, and only a complete file is renamed over
// the target. An existing file of that name stays as it was when anything fails. Throws
// std::runtime_error naming the file and the reason.
void writeOutputFile(const std::string& path,
                     const std::function<void(const Ogre::DataStreamPtr&)>& write);

// Removes the temporary file that writeOutputFile is writing at this moment, if any. Safe to
// call from a signal handler, so that a process ended by a signal leaves no partial file.
void removeTemporaryInProgress();
