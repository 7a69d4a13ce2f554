#pragma once

#include <istream>
#include <string>
#include <vector>

// The texture names of an MDF material definition, in file order: one per line that begins
// with "Texture" (but not "Textured") and holds a quoted path. Only the path's file name counts.
std::vector<std::string> readMdfTextureNames(std::istream& mdf);

// The quoted paths of the same lines, whole, as the game stored them.
std::vector<std::string> readMdfTexturePaths(std::istream& mdf);
