#pragma once

#include "HeadlessEngine.h"

#include <OgreMesh.h>
#include <OgreSkeleton.h>

// The engine's headless objects for feeding records straight into a builder, as the fuzz
// harness does. Each case takes a fresh resource; whatever the previous case created is dropped
// first, so cases in scoped blocks of one test do not see each other.
class BuilderEngine {
public:
    BuilderEngine() : engine("/dev/null") {}

    Ogre::SkeletonPtr freshSkeleton();
    Ogre::MeshPtr freshMesh();

private:
    HeadlessEngine engine;
};
