#pragma once

#include <string>
#include <utility>
#include <vector>

namespace Ogre {
class Mesh;
}

// What a user asks of a loaded model before trusting it: its file, size, materials, bones,
// animations and the textures its materials name.
struct ModelFacts {
    struct Texture {
        std::string name;
        bool present = false; // whether a resource location holds the file now
    };
    std::string fileName;
    std::string location; // the resource location that holds the file, empty when none does
    size_t vertices = 0;
    size_t triangles = 0;
    std::vector<std::string> submeshMaterials;
    size_t bones = 0;
    std::vector<std::pair<std::string, float>> animations; // name and length in seconds, by name
    std::vector<Texture> textures;                         // each name once, in order of use
};

// Reads the facts from a loaded mesh, its skeleton and its materials; the textures are looked
// for in the resource locations as they are on disk now, not as they were indexed at start.
ModelFacts gatherModelFacts(const Ogre::Mesh& mesh);

// The facts as lines of text for the viewer's information panel.
std::string describeModelFacts(const ModelFacts& facts);
