#pragma once

#include "../Diagnostics.h"
#include "SkaRecords.h"

#include <OgreSkeleton.h>

#include <string>
#include <vector>

// Creates bone i of the SKM bone table with handle i and links the bones into their
// hierarchy. False, after a message on out, when the file cannot be opened, holds no bones,
// or holds a table no skeleton can be built from (too many bones, a name twice, a parent
// outside the table, parents in a cycle).
bool readSkmBones(const std::string& skmPath, Ogre::Skeleton& skeleton, Diagnostics& out);

// Gives each bone that an SKA bone names its binding position, orientation and scale. SKA
// bones the skeleton does not hold, and transforms no bone can take, are reported on out.
void readSkaBones(const std::vector<SkaBone>& bones, Ogre::Skeleton& skeleton, Diagnostics& out);
