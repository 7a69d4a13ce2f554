#pragma once

#include <OgreMaterial.h>
#include <OgreMesh.h>
#include <OgreSkeleton.h>

#include <string>

// Every resource of a conversion lives in this group.
extern const char* const conversionGroup;

// The material of that name in the conversion group, created without any technique when it
// does not exist yet. Callers pass only names that a material script can hold, never an empty one.
Ogre::MaterialPtr fetchMaterial(const std::string& name);

// An empty mesh or skeleton for a builder to fill. Each counts as loaded from the start: the
// engine frees what a builder puts into a resource only when it unloads a loaded one, and a
// mesh that links an unloaded skeleton tries to load it from a resource location.
Ogre::MeshPtr createManualMesh(const std::string& name);
Ogre::SkeletonPtr createManualSkeleton(const std::string& name);
