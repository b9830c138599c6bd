#include "io/file_stream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "io/stream_source.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::ScopedTempDir;
using testing::StreamKind;
using testing::StreamSource;

class StreamKinds : public ::testing::TestWithParam<StreamKind> {
protected:
    // Opens a stream of the parameter's kind over the bytes.
    void open(const std::string& bytes) {
        source_ = std::make_unique<StreamSource>(GetParam(), bytes, folder_);
        ASSERT_TRUE(stream_.open_read(source_->name().c_str()));
    }

    std::string next_line() {
        char line[kLineLimit + 1];
        uint32_t length = 0;
        if (!stream_.read_line(line, &length)) return "<fail>";
        return std::string(line, length);
    }

    ScopedTempDir folder_;
    std::unique_ptr<StreamSource> source_;
    FileStream stream_;
};

TEST_P(StreamKinds, LineRuleDropsLineFeedAndCarriageReturnAndKeepsALastLineWithoutOne) {
    open("a\r\n\nb");
    EXPECT_EQ(next_line(), "a");
    EXPECT_EQ(next_line(), "");
    EXPECT_EQ(next_line(), "b");
    EXPECT_EQ(next_line(), "<fail>");
}

TEST_P(StreamKinds, LineLongerThanTheLimitComesInPieces) {
    const std::string long_line(kLineLimit + 10, 'x');
    open(long_line + "\nnext\n");
    EXPECT_EQ(next_line(), long_line.substr(0, kLineLimit));
    EXPECT_EQ(next_line(), long_line.substr(kLineLimit));
    EXPECT_EQ(next_line(), "next");
    EXPECT_EQ(next_line(), "<fail>");
}

TEST_P(StreamKinds, LastLineOfAWholeNumberOfChunksIsStillALine) {
    const std::string line(128, 'q');
    open("first\n" + line);
    EXPECT_EQ(next_line(), "first");
    EXPECT_EQ(next_line(), line);
    EXPECT_EQ(next_line(), "<fail>");
}

TEST_P(StreamKinds, LineEndingAtTheEndOfDataLosesItsCarriageReturn) {
    open("abc\r");
    EXPECT_EQ(next_line(), "abc");
}

TEST_P(StreamKinds, EmptyDataHasNoLine) {
    open("");
    EXPECT_EQ(next_line(), "<fail>");
}

TEST_P(StreamKinds, ZeroBytesInsideALineAreKept) {
    open(std::string("a\0b\n", 4));
    EXPECT_EQ(next_line(), std::string("a\0b", 3));
}

TEST_P(StreamKinds, LinesAndBinaryReadsShareOnePosition) {
    open("xy\nAB");
    EXPECT_EQ(next_line(), "xy");
    EXPECT_EQ(stream_.position(), 3);
    char bytes[2] = {};
    ASSERT_TRUE(stream_.read(bytes, 2));
    EXPECT_EQ(std::string(bytes, 2), "AB");
}

TEST_P(StreamKinds, SeekFromEndStartAndCurrentPosition) {
    open("0123456789");
    stream_.seek(0, -1);
    EXPECT_EQ(stream_.position(), 10);
    stream_.seek(-4, -1);
    EXPECT_EQ(stream_.position(), 6);
    stream_.seek(2, 1);
    EXPECT_EQ(stream_.position(), 8);
    stream_.seek(3, 0);
    char byte = 0;
    ASSERT_TRUE(stream_.read(&byte, 1));
    EXPECT_EQ(byte, '3');
    EXPECT_EQ(stream_.size_of(), 10);
}

TEST_P(StreamKinds, WritingIsRefusedOnReadOnlyStreams) {
    open("data");
    EXPECT_FALSE(stream_.write("x", 1));
    EXPECT_EQ(stream_.position(), 0);
}

TEST_P(StreamKinds, CloseForgetsEverything) {
    open("data");
    stream_.close();
    EXPECT_FALSE(stream_.is_open());
    EXPECT_EQ(stream_.size_of(), 0);
    EXPECT_EQ(stream_.position(), 0);
    char byte;
    EXPECT_FALSE(stream_.read(&byte, 1));
}

TEST_P(StreamKinds, MovesPastTheRangeOfAPositionAreRefusedAndMoveNothing) {
    open("0123456789");
    const int64_t refused = GetParam() == StreamKind::kDisk ? -1 : 0;
    const int64_t far = INT64_MAX - 5;
    stream_.seek(far, 0);
    ASSERT_EQ(stream_.position(), far);
    struct Move {
        int64_t offset;
        int whence;
    };
    for (const Move move : {Move{10, 1}, Move{INT64_MAX, 1}, Move{INT64_MAX, -1}}) {
        EXPECT_EQ(stream_.seek(move.offset, move.whence), refused) << move.offset;
        EXPECT_EQ(stream_.position(), far) << move.offset;
    }
    // A read there fails; a disk read counts what it asked for, up to the largest position.
    char bytes[10];
    EXPECT_EQ(stream_.read(bytes, sizeof bytes), false);
    EXPECT_EQ(stream_.position(), GetParam() == StreamKind::kDisk ? INT64_MAX : far);
    EXPECT_EQ(stream_.seek(-4, -1), GetParam() == StreamKind::kDisk ? 6 : 0);
    EXPECT_EQ(stream_.position(), 6);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, StreamKinds,
                         ::testing::Values(StreamKind::kDisk, StreamKind::kMemory),
                         [](const auto& info) { return testing::stream_kind_name(info.param); });

class FileStreamTest : public ::testing::Test {
protected:
    ScopedTempDir folder_;
};

TEST_F(FileStreamTest, MemoryReadWithOneByteLeftCopiesItAndSucceeds) {
    const std::string bytes = "abc";
    MemoryFile memory(bytes.data(), 3);
    FileStream stream;
    ASSERT_TRUE(stream.open_read(memory.name().c_str()));
    stream.seek(2, 0);
    uint8_t value[2] = {0, 0};
    EXPECT_TRUE(stream.read(value, 2));
    EXPECT_EQ(value[0], 'c');
    EXPECT_EQ(value[1], 0);
    EXPECT_EQ(stream.position(), 3);
    // At the very end a read succeeds with nothing copied; past it, it fails.
    EXPECT_TRUE(stream.read(value, 1));
    EXPECT_EQ(stream.position(), 3);
    stream.seek(5, 0);
    EXPECT_FALSE(stream.read(value, 1));
    stream.seek(-1, 0);
    EXPECT_FALSE(stream.read(value, 1));
}

TEST_F(FileStreamTest, DiskReadNeedsEveryByteAndCountsWhatWasAsked) {
    testing::write_file(folder_.file("f"), "abc");
    FileStream stream;
    ASSERT_TRUE(stream.open_read(folder_.file("f").c_str()));
    stream.seek(2, 0);
    uint8_t value[2] = {0, 0};
    EXPECT_FALSE(stream.read(value, 2));
    EXPECT_EQ(value[0], 'c');
    EXPECT_EQ(stream.position(), 4);
    stream.seek(3, 0);
    EXPECT_FALSE(stream.read(value, 1));
}

TEST_F(FileStreamTest, OpenRefusesMissingFilesDirectoriesAndEmptyNames) {
    FileStream stream;
    EXPECT_FALSE(stream.open_read(folder_.file("missing").c_str()));
    EXPECT_FALSE(stream.open_read(folder_.path().c_str()));
    EXPECT_FALSE(stream.open_read(""));
    EXPECT_FALSE(stream.open_read(nullptr));
    EXPECT_FALSE(stream.is_open());
}

TEST_F(FileStreamTest, BackslashesInNamesReachTheSystemAsSlashes) {
    ::mkdir(folder_.file("sub").c_str(), 0777);
    testing::write_file(folder_.file("sub/f.txt"), "hi");
    std::string name = folder_.path() + "sub\\f.txt";
    FileStream stream;
    ASSERT_TRUE(stream.open_read(name.c_str()));
    EXPECT_EQ(stream.size(), 2);
}

TEST_F(FileStreamTest, WriteStreamCreatesAnewAndReadsBackWhatItWrote) {
    const std::string name = folder_.file("w.bin");
    testing::write_file(name, "old content that is longer");
    FileStream stream;
    ASSERT_TRUE(stream.open_write(name.c_str()));
    EXPECT_EQ(stream.size(), 0);
    ASSERT_TRUE(stream.write("hello", 5));
    EXPECT_EQ(stream.position(), 5);
    EXPECT_EQ(stream.size_of(), 5);
    EXPECT_EQ(stream.seek(1, 0), 1);
    char bytes[4] = {};
    ASSERT_TRUE(stream.read(bytes, 4));
    EXPECT_EQ(std::string(bytes, 4), "ello");
    // Overwriting what was read ahead is seen by the next read.
    stream.seek(1, 0);
    ASSERT_TRUE(stream.write("EL", 2));
    stream.seek(0, 0);
    char all[5] = {};
    ASSERT_TRUE(stream.read(all, 5));
    EXPECT_EQ(std::string(all, 5), "hELlo");
    stream.close();
    EXPECT_EQ(testing::read_file(name), "hELlo");
}

TEST_F(FileStreamTest, WriteOpenReplacesAnEmptyDirectoryOfThatName) {
    const std::string name = folder_.file("was_dir");
    ASSERT_EQ(::mkdir(name.c_str(), 0777), 0);
    FileStream stream;
    ASSERT_TRUE(stream.open_write(name.c_str()));
    ASSERT_TRUE(stream.write("x", 1));
    stream.close();
    EXPECT_EQ(testing::read_file(name), "x");
}

TEST_F(FileStreamTest, AppendStartsAtTheEnd) {
    const std::string name = folder_.file("a.txt");
    testing::write_file(name, "abc");
    FileStream stream;
    ASSERT_TRUE(stream.open_append(name.c_str()));
    EXPECT_EQ(stream.position(), 3);
    ASSERT_TRUE(stream.write("de", 2));
    stream.close();
    EXPECT_EQ(testing::read_file(name), "abcde");
    ASSERT_TRUE(stream.open_append(folder_.file("new.txt").c_str()));
    ASSERT_TRUE(stream.write("n", 1));
    stream.close();
    EXPECT_EQ(testing::read_file(folder_.file("new.txt")), "n");
}

TEST_F(FileStreamTest, MemoryNamesCannotBeWritten) {
    const char bytes[] = "abc";
    MemoryFile memory(bytes, 3);
    FileStream stream;
    EXPECT_FALSE(stream.open_write(memory.name().c_str()));
    EXPECT_FALSE(stream.open_append(memory.name().c_str()));
}

TEST_F(FileStreamTest, DiskSeekReportsThePlatformPositionAndRefusesNegativeOnes) {
    testing::write_file(folder_.file("s"), "0123456789");
    FileStream stream;
    ASSERT_TRUE(stream.open_read(folder_.file("s").c_str()));
    EXPECT_EQ(stream.seek(0, -1), 10);
    EXPECT_EQ(stream.seek(-3, 1), 7);
    EXPECT_EQ(stream.seek(-20, 0), -1);
    EXPECT_EQ(stream.position(), 7);
    char byte = 0;
    ASSERT_TRUE(stream.read(&byte, 1));
    EXPECT_EQ(byte, '7');
}

TEST_F(FileStreamTest, MemorySeekMovesOnlyThePositionAndReturnsZero) {
    const char bytes[] = "0123";
    MemoryFile memory(bytes, 4);
    FileStream stream;
    ASSERT_TRUE(stream.open_read(memory.name().c_str()));
    EXPECT_EQ(stream.seek(2, 0), 0);
    EXPECT_EQ(stream.position(), 2);
}

TEST_F(FileStreamTest, LargeDiskReadsBypassTheReadAheadIntact) {
    std::string bytes(200000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    testing::write_file(folder_.file("big"), bytes);
    FileStream stream;
    ASSERT_TRUE(stream.open_read(folder_.file("big").c_str()));
    std::string head(10, '\0');
    ASSERT_TRUE(stream.read(head.data(), 10));
    std::string rest(bytes.size() - 10, '\0');
    ASSERT_TRUE(stream.read(rest.data(), static_cast<uint32_t>(rest.size())));
    EXPECT_EQ(head + rest, bytes);
}

}  // namespace
}  // namespace vexel
