// SKM bytes through the bone reading and the whole mesh import, then written as the run
// writes the mesh.
#include "FuzzHarness.h"
#include "MaterialNamer.h"
#include "OutputFile.h"
#include "Resources.h"
#include "skeleton/SkeletonBuilder.h"
#include "skm/MeshBuilder.h"

namespace {

const char* const skeletonName = "fuzz.skeleton";

// The mesh import runs even when the bones were refused, so that the fuzzer reaches it with
// every input and not only with those whose bone table is sound.
void convert(FuzzHarness& harness, const std::string& skmPath) {
    DiagnosticList out;
    const Ogre::SkeletonPtr skeleton = createManualSkeleton(skeletonName);
    readSkmBones(skmPath, *skeleton, out);

    const Ogre::MeshPtr mesh = createManualMesh("fuzz");
    if (importMesh(*mesh, MaterialNamer(false), skmPath, skeletonName, out)) {
        writeOutputFile(harness.scratchPath("fuzz.mesh"), [&](const Ogre::DataStreamPtr& stream) {
            harness.engine().meshSerializer().exportMesh(mesh.get(), stream);
        });
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return fuzzOneInput("input.skm", data, size, convert);
}
