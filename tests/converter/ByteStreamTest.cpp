#include "ByteStream.h"
#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

// More than a few windows of bytes, none of them alike.
std::string patternBytes(std::size_t count) {
    std::mt19937 random(7);
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

std::string writeTemporary(const TemporaryDirectory& work, const std::string& bytes) {
    const std::string path = work / "bytes.bin";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct ReadResult {
    bool ok;
    std::string bytes;
    bool failed;
};

ReadResult readAt(ByteStream& stream, int64_t position, std::size_t count) {
    ReadResult result{false, std::string(count, '\0'), false};
    stream.seek(position);
    result.ok = stream.read(result.bytes.data(), count);
    result.failed = stream.failed();
    return result;
}

} // namespace

// Small reads that cross the window's edges, reads larger than the window, and jumps back and
// forth all give the file's bytes.
TEST(ByteStreamTest, AFileReadsAsItsBytesWhereverTheReadsGo) {
    TemporaryDirectory work;
    const std::string bytes = patternBytes(300000);
    std::optional<ByteStream> file = ByteStream::openFile(writeTemporary(work, bytes));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), static_cast<int64_t>(bytes.size()));
    std::mt19937 random(11);
    for (int step = 0; step < 2000; ++step) {
        const std::size_t count = step % 50 == 0 ? 65536 + random() % 100000 : random() % 40;
        const int64_t position = random() % (bytes.size() - count + 1);
        const ReadResult fromFile = readAt(*file, position, count);
        ASSERT_TRUE(fromFile.ok) << position << " " << count;
        ASSERT_EQ(fromFile.bytes, bytes.substr(position, count)) << position << " " << count;
    }
}

TEST(ByteStreamTest, AReadPastTheEndKeepsWhatTheFileHasAndFailsTheStream) {
    TemporaryDirectory work;
    const std::string bytes = patternBytes(100000);
    std::optional<ByteStream> file = ByteStream::openFile(writeTemporary(work, bytes));
    ASSERT_TRUE(file);
    const ReadResult tail = readAt(*file, 99990, 20);
    EXPECT_FALSE(tail.ok);
    EXPECT_TRUE(tail.failed);
    EXPECT_EQ(tail.bytes, bytes.substr(99990) + std::string(10, '\0'));
    const ReadResult after = readAt(*file, 0, 4);
    EXPECT_FALSE(after.ok);
    EXPECT_EQ(after.bytes, std::string(4, '\0'));
}

TEST(ByteStreamTest, AFileThatCannotBeOpenedGivesNoStream) {
    TemporaryDirectory work;
    EXPECT_FALSE(ByteStream::openFile(work / "missing.ska"));
}

TEST(ByteStreamTest, AFileThatShrinksWhileReadEndsWhereItEnds) {
    TemporaryDirectory work;
    const std::string bytes = patternBytes(200000);
    const std::string path = writeTemporary(work, bytes);
    std::optional<ByteStream> file = ByteStream::openFile(path);
    ASSERT_TRUE(file);
    ASSERT_TRUE(readAt(*file, 0, 16).ok);
    std::filesystem::resize_file(path, 150000);
    const ReadResult beyond = readAt(*file, 149990, 20);
    EXPECT_FALSE(beyond.ok);
    EXPECT_EQ(beyond.bytes, bytes.substr(149990, 10) + std::string(10, '\0'));
    EXPECT_EQ(file->size(), 150000);
}
