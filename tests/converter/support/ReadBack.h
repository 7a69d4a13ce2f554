#pragma once

#include "HeadlessEngine.h"

#include <OgreMesh.h>
#include <OgreSkeleton.h>

#include <string>
#include <vector>

// Loads what the converter wrote through the engine's own serializers, the way any program
// of the engine would read it.
class ReadBack {
public:
    explicit ReadBack(const std::string& logPath) : headless(logPath) {}

    Ogre::SkeletonPtr skeleton(const std::string& path);
    // A mesh names its materials only where they exist when it is read, as in any program
    // that loads its material scripts first.
    Ogre::MeshPtr mesh(const std::string& path, const std::vector<std::string>& materials = {});

    // The engine it reads with, for a test that builds what it reads back in the same process.
    HeadlessEngine& engine() { return headless; }

private:
    HeadlessEngine headless;
    int loaded = 0;
};
