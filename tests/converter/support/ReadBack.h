#pragma once

#include "HeadlessEngine.h"

#include <OgreMaterial.h>
#include <OgreMesh.h>
#include <OgreScriptCompiler.h>
#include <OgreSkeleton.h>

#include <memory>

#include <string>
#include <vector>

// Loads what the converter wrote through the engine's own serializers, the way any program
// of the engine would read it.
class ReadBack {
public:
    explicit ReadBack(const std::string& logPath) : headless(logPath) {}

    Ogre::SkeletonPtr skeleton(const std::string& path);
    // A mesh names its materials only where they exist when it is read, as in any program
    // that loads its material scripts first.
    Ogre::MeshPtr mesh(const std::string& path, const std::vector<std::string>& materials = {});
    // The material name of each submesh as the .mesh file stores it, whether or not such a
    // material exists.
    std::vector<std::string> meshMaterialNames(const std::string& path);
    // The materials that the engine's own script compiler makes of a material script, each
    // script in a resource group of its own; in no particular order.
    std::vector<Ogre::MaterialPtr> compiledMaterials(const std::string& script);

    // The engine it reads with, for a test that builds what it reads back in the same process.
    HeadlessEngine& engine() { return headless; }

private:
    HeadlessEngine headless;
    std::unique_ptr<Ogre::ScriptCompilerManager> scriptCompiler;
    int loaded = 0;
};
