#include "OutputFile.h"
#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

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

} // namespace
