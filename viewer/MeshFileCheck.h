#pragma once

#include <string>

// Why the engine must not load the mesh of that name, or an empty text when it may: the mesh
// file and the skeleton it links to, read from the resource groups and checked byte by byte
// before the engine sees them, and the bones the mesh's assignments name against the
// skeleton's. The engine's readers take counts and indices on trust and its renderer draws
// whatever indices it is given, so a damaged file would otherwise end the program. A missing
// file is left to the engine, which reports it. The files are looked for in `group`, or in
// every group for RGN_AUTODETECT.
std::string modelFilesFault(const std::string& meshName, const std::string& group);
