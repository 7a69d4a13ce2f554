#pragma once

#include "GlbWriter.h"

#include <OgreMaterial.h>
#include <OgreMesh.h>
#include <OgreSkeleton.h>

#include <string>
#include <vector>

// A model's engine objects built in this process the way a conversion builds them, from
// name.skm, name.ska and the MDF files in one folder; the engine must be set up.
struct InProcessModel {
    Ogre::SkeletonPtr skeleton;
    Ogre::MeshPtr mesh;
    std::vector<Ogre::MaterialPtr> materials;
};

// Throws std::runtime_error with the converter's messages when the model cannot be built.
InProcessModel buildModel(const std::string& folder, const std::string& name);

// Finds a texture name as a file in the folder.
TextureSource texturesIn(const std::string& folder);
