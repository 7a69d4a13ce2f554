#pragma once

#include "GltfBuffer.h"
#include "TextureSource.h"

#include <OgreMaterial.h>
#include <OgreMesh.h>
#include <OgreSkeleton.h>

#include <string>
#include <vector>

struct GlbResult {
    std::string json;                         // the text of the file's JSON chunk
    std::string binary;                       // the data of its BIN chunk
    std::vector<std::string> warnings;        // one sentence each
    std::vector<std::string> missingTextures; // texture names the source did not find

    // Hands the .glb file to the sink piece by piece, so that it is never put together in
    // memory beside its chunks.
    void write(const ByteSink& sink) const { writeGlbFile(json, binary, sink); }
    // The .glb file as one string.
    std::string bytes() const;
};

// One self-contained binary glTF 2.0 file of a skinned, animated model, written from the engine
// objects the .mesh, .skeleton and .material are written from, in the same axes and units: the
// mesh with its submeshes as primitives, the skeleton's bones as the skin's joints (in handle
// order), its animations, and the materials with their first texture embedded as PNG. A
// skeleton without bones gives a mesh without a skin.
GlbResult writeGlb(const Ogre::Mesh& mesh, const Ogre::Skeleton& skeleton,
                   const std::vector<Ogre::MaterialPtr>& materials, const TextureSource& textures);
