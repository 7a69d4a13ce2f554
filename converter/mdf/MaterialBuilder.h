#pragma once

#include <OgreMaterial.h>

#include <string>

// Adds one technique with one pass and one 2D texture unit per texture line of the MDF file;
// an empty texture path gives a unit without a texture.
// False, with the material untouched, when the file cannot be opened.
bool importMaterial(const std::string& mdfPath, const Ogre::MaterialPtr& material);
