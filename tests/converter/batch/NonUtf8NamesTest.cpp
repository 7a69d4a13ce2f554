// A game's tree may name folders in Latin-1; JSON text holds UTF-8 only. The batch's stamps and
// its workers' answers must still carry such names byte for byte.
#include "EscapedBytes.h"
#include "ModelWorker.h"
#include "UpToDate.h"

#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

namespace {

const std::string latin1Folder = "art/meshes/h\xfcte";

TEST(NonUtf8NamesTest, EveryByteComesBackAndTheTextIsAscii) {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) {
        bytes += static_cast<char>(byte);
    }
    const std::string text = escapeBytes(bytes + "%41");
    EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
    EXPECT_EQ(unescapeBytes(text), bytes + "%41");
    EXPECT_EQ(unescapeBytes("art/x.skm"), "art/x.skm");
    EXPECT_EQ(unescapeBytes("100%"), "100%");
}

TEST(NonUtf8NamesTest, StampsOfAModelInALatin1FolderSurviveTheirFile) {
    const TemporaryDirectory work;
    const std::string model = latin1Folder + "/x.skm";
    const ModelStamp stamp{"textures " + latin1Folder + "/skin.tga", {{"x\xe9.mesh", 42}}};
    {
        StampFile stamps(work / "stamps.json");
        stamps.record(model, stamp);
        stamps.saveIfChanged();
    }
    const StampFile reread(work / "stamps.json");
    ASSERT_NE(reread.find(model), nullptr);
    EXPECT_EQ(reread.find(model)->signature, stamp.signature);
    EXPECT_EQ(reread.find(model)->outputTimes, stamp.outputTimes);
}

TEST(NonUtf8NamesTest, AWorkersAnswerNamesItsFilesByteForByte) {
    const std::string folder = "out/" + latin1Folder + "/";
    const WorkerAnswer sent{0,
                            {{Severity::warning, "Warning: \xfc", Placement::step},
                             {Severity::error, "no SKA file x.ska beside it", Placement::unshown}},
                            0.5,
                            {{folder + ".x.mesh.tmp-Ab12Cd", folder + "x.mesh"}}};
    const WorkerAnswer received = readWorkerAnswer(workerAnswerText(sent));
    ASSERT_EQ(received.pending.size(), 1U);
    EXPECT_EQ(received.pending[0].temporary, sent.pending[0].temporary);
    EXPECT_EQ(received.pending[0].path, sent.pending[0].path);
    // For people: U+FFFD will do.
    EXPECT_EQ(received.diagnostics,
              (std::vector<Diagnostic>{
                  {Severity::warning, "Warning: \xef\xbf\xbd", Placement::step},
                  {Severity::error, "no SKA file x.ska beside it", Placement::unshown}}));
}

} // namespace
