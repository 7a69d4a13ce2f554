#pragma once

#include "HeadlessEngine.h"
#include "Resources.h"

// The engine's headless objects for feeding records straight into a builder, as the fuzz
// harness does. Each case takes a fresh resource; whatever the previous case created is dropped
// first, so cases in scoped blocks of one test do not see each other.
class BuilderEngine {
public:
    Ogre::SkeletonPtr freshSkeleton() {
        Ogre::ResourceGroupManager::getSingleton().clearResourceGroup(conversionGroup);
        return createManualSkeleton("case.skeleton");
    }
    Ogre::MeshPtr freshMesh() {
        Ogre::ResourceGroupManager::getSingleton().clearResourceGroup(conversionGroup);
        return createManualMesh("case");
    }

private:
    HeadlessEngine engine{""};
};
