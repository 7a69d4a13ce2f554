#pragma once

#include <OgreDataStream.h>

#include <string>

// Why a mesh file is evidently cut short, or an empty text when it is not. The engine's reader
// takes a cut file for a whole one and, in some places, stops the program on an assertion; the
// viewer checks first. A mesh file is a header (the 16-bit value 0x1000 and a version line)
// followed by one mesh chunk whose 32-bit length, counted from the chunk's own start, covers
// the rest of the file.
std::string meshFileFault(Ogre::DataStream& file);
