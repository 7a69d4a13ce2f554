// SKA bytes, beside a fixed small SKM, through the whole skeleton import with the animation
// building, then through the engine's serializer as the run writes the skeleton.
#include "FuzzHarness.h"
#include "Resources.h"
#include "SampleFigure.h"
#include "skeleton/SkeletonImport.h"

namespace {

// The sample figure's bone table and nothing else: the seeds are written from the same figure,
// so their bone tables and key streams name bones that exist.
std::string writeFixedSkm(FuzzHarness& harness) {
    samplemodel::SkmDesc skm;
    skm.bones = makeSampleFigure().skm.bones;
    const std::string bytes = samplemodel::writeSkm(skm);
    return harness.writeScratchFile("bones.skm", reinterpret_cast<const uint8_t*>(bytes.data()),
                                    bytes.size());
}

// The program's limits let a few bytes ask for millions of keyframes, which take seconds under
// the sanitizers. Scaled down to a few times what the seeds need (the sample figure's 1,260
// keyframes), the same code stops at them the same way, and the fuzzer spends its time on
// decoding and building instead of on the engine's allocations.
const ImportLimits fuzzLimits{5000, 64 * 1024};

// Takes what the serializer writes and keeps none of it. The output file's own code is fuzzed
// by the other targets; here its thousands of small buffered writes of every keyframe, slow
// under the sanitizers, would take most of the time of each input.
class DiscardingStream : public Ogre::DataStream {
public:
    DiscardingStream() : Ogre::DataStream(WRITE) {}
    size_t write(const void*, size_t count) override {
        written += count;
        return count;
    }
    size_t read(void*, size_t) override { return 0; }
    void skip(long) override {}
    void seek(size_t) override {}
    size_t tell() const override { return written; }
    bool eof() const override { return false; }
    void close() override {}

private:
    size_t written = 0;
};

void convert(FuzzHarness& harness, const std::string& skmPath, const std::string& skaPath) {
    DiagnosticList out;
    const Ogre::SkeletonPtr skeleton = createManualSkeleton("fuzz.skeleton");
    if (importSkeleton(skmPath, skaPath, *skeleton, out, fuzzLimits)) {
        harness.engine().skeletonSerializer().exportSkeleton(skeleton.get(),
                                                             std::make_shared<DiscardingStream>());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::string skmPath = writeFixedSkm(FuzzHarness::instance());
    return fuzzOneInput("input.ska", data, size,
                        [](FuzzHarness& harness, const std::string& skaPath) {
                            convert(harness, skmPath, skaPath);
                        });
}
