#pragma once

#include <OgreMaterial.h>

#include <string>

// Every resource of a conversion lives in this group.
extern const char* const conversionGroup;

// The material of that name in the conversion group, created without any technique when it
// does not exist yet.
Ogre::MaterialPtr fetchMaterial(const std::string& name);
