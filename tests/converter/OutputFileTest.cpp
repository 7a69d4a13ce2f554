#include "OutputFile.h"
#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>

namespace {

void writeText(
    const std::string& path, const std::string& text,
    const std::function<void()>& whileWriting = [] {}) {
    writeOutputFile(path, [&](const Ogre::DataStreamPtr& stream) {
        stream->write(text.data(), text.size());
        whileWriting();
    });
}

// What a worker's signal handler does: the temporary, recognisable by its name, goes away
// at once, and the output is never created from it.
TEST(OutputFileTest, TheTemporaryInProgressCanBeRemovedWhileItIsWritten) {
    const TemporaryDirectory work;
    std::vector<std::string> whileWriting;
    EXPECT_THROW(writeText(work / "hero.mesh", "mesh",
                           [&] {
                               whileWriting = filesIn(work.path());
                               removeTemporaryInProgress();
                           }),
                 std::runtime_error);
    ASSERT_EQ(whileWriting.size(), 1u);
    EXPECT_TRUE(std::regex_match(whileWriting[0], std::regex(R"(\.hero\.mesh\.tmp-\w{6})")))
        << whileWriting[0];
    EXPECT_EQ(filesIn(work.path()), std::vector<std::string>{});

    writeText(work / "hero.mesh", "mesh");
    removeTemporaryInProgress(); // nothing in progress any more
    EXPECT_EQ(readFileText(work / "hero.mesh"), "mesh");
}

// The temporary's name adds 12 characters to the output's; it must still fit the file system.
TEST(OutputFileTest, AnOutputOfTheLongestNameGetsATemporary) {
    const TemporaryDirectory work;
    const std::string longest(255, 'x');
    writeText(work / longest, "mesh");
    EXPECT_EQ(filesIn(work.path()), std::vector<std::string>{longest});
}

// Large outputs reach the kernel in pieces; every byte must arrive once and in order, also
// after small writes that the stream gathers first.
TEST(OutputFileTest, AFileOfSeveralMegabytesArrivesWhole) {
    const TemporaryDirectory work;
    std::string data(3 * 1024 * 1024 + 12345, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>((i * 7919) >> 8);
    }
    writeOutputFile(work / "big.glb", [&](const Ogre::DataStreamPtr& stream) {
        stream->write("glTF", 4);
        stream->write(data.data(), data.size());
    });
    EXPECT_EQ(readFileText(work / "big.glb"), "glTF" + data);
}

bool isTemporaryOf(const std::string& name, const std::string& output) {
    return std::regex_match(name, std::regex("\\." + output + "\\.tmp-\\w{6}"));
}

// A batch worker leaves its files for the parent to put in place; up to four at a time (a model's
// .skeleton, .mesh, .material and .glb), so that the signal handler can still name each one.
TEST(OutputFileTest, DeferredFilesWaitInTheirTemporariesUntilCommitted) {
    const TemporaryDirectory work;
    std::vector<PendingOutput> pending;
    {
        DeferredOutputs deferred;
        for (const std::string name : {"a", "b", "c", "d", "e"}) {
            writeText(work / name, "text " + name);
        }
        pending = deferred.take();
        writeText(work / "f", "text f");
        // Not taken, so removed with the deferral.
    }
    ASSERT_EQ(pending.size(), 4U);
    std::vector<std::string> files = filesIn(work.path());
    ASSERT_EQ(files.size(), 5U) << "e, put in place at once, and four temporaries";
    EXPECT_EQ(readFileText(work / "e"), "text e");
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(isTemporaryOf(files[i], std::string(1, char('a' + i)))) << files[i];
    }
    std::remove(pending[2].temporary.c_str());
    const std::vector<std::string> errors = commitOutputs(pending);
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0], "Cannot write \"" + work / "c" + "\": No such file or directory");
    EXPECT_EQ(filesIn(work.path()), (std::vector<std::string>{"a", "b", "d", "e"}));
    EXPECT_EQ(readFileText(work / "a"), "text a");
}

TEST(OutputFileTest, NoDeferredTemporaryOutlivesAWorkerEndedBySignal) {
    const TemporaryDirectory work;
    {
        DeferredOutputs deferred;
        writeText(work / "a.mesh", "mesh");
        writeText(work / "a.skeleton", "skeleton");
        removeTemporaryInProgress(); // what the handler does
        EXPECT_EQ(filesIn(work.path()), std::vector<std::string>{});
    }
    // SIGKILL leaves them; the parent removes them by their names.
    for (const std::string name :
         {".a.mesh.tmp-Ab12Cd", ".a.mesh.tmp-Ab12C", ".b.mesh.tmp-Ab12Cd"}) {
        std::ofstream(work / name) << "partial";
    }
    removeTemporariesOf({work / "a.mesh"});
    EXPECT_EQ(filesIn(work.path()),
              (std::vector<std::string>{".a.mesh.tmp-Ab12C", ".b.mesh.tmp-Ab12Cd"}));
}

} // namespace
