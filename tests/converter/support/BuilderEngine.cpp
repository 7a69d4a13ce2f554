#include "BuilderEngine.h"

#include "Resources.h"

#include <OgreResourceGroupManager.h>

Ogre::SkeletonPtr BuilderEngine::freshSkeleton() {
    Ogre::ResourceGroupManager::getSingleton().clearResourceGroup(conversionGroup);
    return createManualSkeleton("case.skeleton");
}

Ogre::MeshPtr BuilderEngine::freshMesh() {
    Ogre::ResourceGroupManager::getSingleton().clearResourceGroup(conversionGroup);
    return createManualMesh("case");
}
