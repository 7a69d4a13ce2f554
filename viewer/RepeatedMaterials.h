#pragma once

#include <OgreScriptCompiler.h>

#include <string>

// Converted models that shared MDF files in one source folder each bring a material script that
// defines the same materials. The engine would end the whole resource set-up at the second
// definition; while this object lives, the first definition of a name is kept and each later one
// is read into a stand-in that nothing uses, with a line in the engine's log.
class RepeatedMaterials : public Ogre::ScriptCompilerListener {
public:
    RepeatedMaterials();
    ~RepeatedMaterials() override;
    RepeatedMaterials(const RepeatedMaterials&) = delete;
    RepeatedMaterials& operator=(const RepeatedMaterials&) = delete;

    bool handleEvent(Ogre::ScriptCompiler* compiler, Ogre::ScriptCompilerEvent* event,
                     void* result) override;

    int count() const { return repeated; }

private:
    int repeated = 0;
};
