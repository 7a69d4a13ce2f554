#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the structural check of a .mesh file found.
struct MeshCheck {
    std::string fault;             // why the engine must not read the file, or empty when sound
    std::string skeletonName;      // the skeleton the mesh links to, or empty
    std::uint32_t bonesNeeded = 0; // one more than the highest bone its assignments name
};

// Walks a .mesh file in the order the engine's reader (formats 1.8 to 1.100) reads it and
// checks every count, index and offset that the engine and its renderer take on trust: counts
// against the bytes that follow, vertex indices (faces, bone assignments) against the vertex
// count of their geometry, vertex elements against their buffer, submesh references against
// the submeshes read so far. Levels of detail, poses and vertex animations are refused
// unchecked: a manual level names another mesh, and the others write into vertex buffers by
// indices of their own.
MeshCheck checkMeshBytes(std::string_view bytes);
