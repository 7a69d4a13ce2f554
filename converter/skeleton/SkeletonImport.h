#pragma once

#include "../Diagnostics.h"
#include "ImportLimits.h"

#include <OgreSkeleton.h>

#include <string>

// Fills an empty skeleton from an SKM file's bones and the SKA file's binding pose and
// animations, reporting progress and the result to out. True when the bones were read and the
// SKA file could be opened and read; an animation past the limits is skipped with a warning.
bool importSkeleton(const std::string& skmPath, const std::string& skaPath,
                    Ogre::Skeleton& skeleton, Diagnostics& out,
                    const ImportLimits& limits = ImportLimits());
