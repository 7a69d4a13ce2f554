#pragma once

#include <OgreMaterial.h>
#include <OgreMaterialSerializer.h>

#include <string>

// One material script gathered material by material in the engine's own format. The engine's
// serializer writes a name that holds a quote, a line break or the start of a comment in a way
// its script compiler reads back as another name or none; each material's header line is
// therefore written here with the name spelled by scriptSpelling. Ordinary names come out byte
// for byte as the serializer writes them.
class MaterialScript {
public:
    explicit MaterialScript(Ogre::MaterialSerializer& serializer) : serializer(serializer) {}

    // The material's name must have a script spelling.
    void add(const Ogre::MaterialPtr& material);

    bool empty() const { return text.empty(); }
    const std::string& str() const { return text; }

private:
    Ogre::MaterialSerializer& serializer;
    std::string text;
};
