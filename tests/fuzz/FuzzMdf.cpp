// MDF text through the material import, then queued and written out as the run writes the
// material script.
#include "FuzzHarness.h"
#include "OutputFile.h"
#include "Resources.h"
#include "mdf/MaterialBuilder.h"

namespace {

void convert(FuzzHarness& harness, const std::string& mdfPath) {
    const Ogre::MaterialPtr material = fetchMaterial("fuzz");
    if (!importMaterial(mdfPath, material)) {
        return;
    }
    Ogre::MaterialSerializer& serializer = harness.engine().materialSerializer();
    serializer.queueForExport(material, false, false);
    const std::string script = serializer.getQueuedAsString();
    writeOutputFile(harness.scratchPath("fuzz.material"), [&](const Ogre::DataStreamPtr& stream) {
        stream->write(script.data(), script.size());
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return fuzzOneInput("input.mdf", data, size, convert);
}
