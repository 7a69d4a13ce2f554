#include "mdf/MaterialScript.h"
#include "HeadlessEngine.h"
#include "Resources.h"
#include "support/ConverterProcess.h"

#include <OgrePass.h>
#include <OgreTechnique.h>
#include <gtest/gtest.h>

namespace {

// Names the serializer already writes readably, bare or quoted, keep its bytes exactly.
TEST(MaterialScriptTest, OrdinaryNamesComeOutAsTheSerializerWritesThem) {
    const TemporaryDirectory work;
    HeadlessEngine engine(work / "materialscript.log");
    Ogre::MaterialSerializer reference;
    MaterialScript script(engine.materialSerializer());
    for (const char* name : {"body", "steel plate", "x:y", "q\"uote"}) {
        const Ogre::MaterialPtr material = fetchMaterial(name);
        material->createTechnique()->createPass()->createTextureUnitState("skin.tga");
        reference.queueForExport(material, false, false);
        script.add(material);
    }
    EXPECT_EQ(script.str(), reference.getQueuedAsString());
}

} // namespace
