#pragma once

#include "ImportLimits.h"

#include <OgreSkeleton.h>

#include <ostream>
#include <string>

// Fills an empty skeleton from an SKM file's bones and the SKA file's binding pose and
// animations, writing progress and the result to out. True when the bones were read and the
// SKA file could be opened and read; an animation past the limits is skipped with a warning.
bool importSkeleton(const std::string& skmPath, const std::string& skaPath,
                    Ogre::Skeleton& skeleton, std::ostream& out,
                    const ImportLimits& limits = ImportLimits());
