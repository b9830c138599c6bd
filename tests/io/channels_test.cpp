#include "io/channels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <vexel/app.h>
#include <vexel/error.h>
#include <vexel/files.h>

#include "io/file_layer.h"
#include "io/stream_source.h"
#include "io/virtual_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using ::testing::ExitedWithCode;
using testing::ScopedTempDir;
using testing::StreamKind;
using testing::StreamSource;
using testing::write_file;

// The code end_program reports in the error log when the debug flag is on.
int32_t logged_error_code() {
    const std::string log = testing::read_file(error_log_path());
    const size_t mark = log.rfind("-End On Line\n");
    if (mark == std::string::npos) return -1;
    return std::atoi(log.c_str() + mark + std::strlen("-End On Line\n"));
}

// What a fatal channel fault leaves on standard error: one line naming the channel.
constexpr char kCause[] = "^vexel: file channel -?[0-9]+[ :][^\n]*\n$";

// The statement ends the program (exit code 0, nothing run after it) with that last error.
#define EXPECT_FATAL(statement, code)             \
    do {                                          \
        project_settings().debug_mode = 1;        \
        std::remove(error_log_path());            \
        EXPECT_EXIT(                              \
            {                                     \
                statement;                        \
                std::fprintf(stderr, "survived"); \
            },                                    \
            ExitedWithCode(0), kCause);           \
        EXPECT_EQ(logged_error_code(), code);     \
    } while (0)

class ChannelKinds : public ::testing::TestWithParam<StreamKind> {
protected:
    void open(const std::string& bytes) {
        source_ = std::make_unique<StreamSource>(GetParam(), bytes, folder_);
        ASSERT_EQ(open_file(0, source_->name().c_str(), 1), 1);
        EXPECT_EQ(last_error_code(), 0);
    }

    ScopedTempDir folder_;
    std::unique_ptr<StreamSource> source_;
};

TEST_P(ChannelKinds, ReadLineFollowsTheLineRuleAndEndsTheProgramPastTheEnd) {
    open("a\r\n\nb");
    DynString line;
    read_line(0, line);
    EXPECT_STREQ(line.c_str(), "a");
    read_line(0, line);
    EXPECT_STREQ(line.c_str(), "");
    read_line(0, line);
    EXPECT_STREQ(line.c_str(), "b");
    EXPECT_FATAL(read_line(0, line), 3);
}

TEST_P(ChannelKinds, IntegersAreLittleEndianAndExtendedByKind) {
    open(std::string("\xff\xff\xfe\xff\xfe\x01\x02\x03\x04\x80", 10));
    int32_t value = 0;
    read_int8(0, value);
    EXPECT_EQ(value, -1);
    read_uint8(0, value);
    EXPECT_EQ(value, 255);
    read_int16(0, value);
    EXPECT_EQ(value, -2);
    read_uint16(0, value);
    EXPECT_EQ(value, 0x01fe);
    read_int32(0, value);
    EXPECT_EQ(value, static_cast<int32_t>(0x80040302));
    EXPECT_EQ(file_position(0), 10);
}

TEST_P(ChannelKinds, ReadLineAsNumbers) {
    open("12.5\n-7 apples\n");
    double number = 0;
    int32_t integer = 0;
    read_line(0, number);
    read_line(0, integer);
    EXPECT_DOUBLE_EQ(number, 12.5);
    EXPECT_EQ(integer, -7);
}

TEST_P(ChannelKinds, SeekFromTheEndLandsOnTheSizeMeasuredAtOpen) {
    open("0123456789");
    const double result = file_seek(0, 0, -1);
    EXPECT_EQ(file_position(0), 10);
    EXPECT_EQ(result, GetParam() == StreamKind::kDisk ? 10 : 0);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ChannelKinds,
                         ::testing::Values(StreamKind::kDisk, StreamKind::kMemory),
                         [](const auto& info) { return testing::stream_kind_name(info.param); });

class ChannelTest : public ::testing::Test {
protected:
    ScopedTempDir folder_;
};

TEST_F(ChannelTest, MemoryNameOpensForReadingButNotForWriting) {
    const char bytes[] = "block";
    MemoryFile memory(bytes, 5);
    EXPECT_EQ(open_file(1, memory.name().c_str(), 0), 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(open_file(1, memory.name().c_str(), -1), 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(open_file(1, memory.name().c_str(), 1), 1);
    EXPECT_EQ(last_error_code(), 0);
    DynString text;
    read_bytes(1, text, 5);
    EXPECT_STREQ(text.c_str(), "block");
}

TEST_F(ChannelTest, SixteenBitReadWithOneByteLeftInMemory) {
    const char bytes[] = "\x01\x02\x03";
    MemoryFile memory(bytes, 3);
    ASSERT_EQ(open_file(2, memory.name().c_str(), 1), 1);
    int32_t value = 0;
    read_uint16(2, value);
    EXPECT_EQ(value, 0x0201);
    read_int16(2, value);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(file_position(2), 3);
    EXPECT_EQ(last_error_code(), 0);
}

TEST_F(ChannelTest, ReadingAtTheEndOfMemoryGivesZeroWithoutError) {
    const char bytes[] = "\x05";
    MemoryFile memory(bytes, 1);
    ASSERT_EQ(open_file(0, memory.name().c_str(), 1), 1);
    int32_t value = 0;
    read_uint8(0, value);
    EXPECT_EQ(value, 5);
    read_int32(0, value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(last_error_code(), 0);
}

TEST_F(ChannelTest, ReadingAtTheEndOfADiskFileEndsTheProgramWithError3) {
    testing::write_file(folder_.file("one"), "\x05");
    ASSERT_EQ(open_file(0, folder_.file("one").c_str(), 1), 1);
    int32_t value = 0;
    read_uint8(0, value);
    EXPECT_EQ(value, 5);
    EXPECT_FATAL(read_uint8(0, value), 3);
}

TEST_F(ChannelTest, ReadBytesKeepsTheRequestedLengthWithZerosWhereNothingArrived) {
    const char bytes[] = "abcd";
    MemoryFile memory(bytes, 4);
    ASSERT_EQ(open_file(3, memory.name().c_str(), 1), 1);
    DynString text("previous");
    read_bytes(3, text, 10);
    ASSERT_EQ(text.length(), 10u);
    EXPECT_EQ(std::memcmp(text.c_str(), "abcd\0\0\0\0\0\0", 10), 0);
    read_bytes(3, text, 0);
    EXPECT_TRUE(text.empty());
}

TEST_F(ChannelTest, WriteCommandsProduceTheDocumentedBytes) {
    const std::string name = folder_.file("out.bin");
    ASSERT_EQ(open_file(4, name.c_str(), 0), 1);
    write_line(4, "x");
    write_int8(4, 0x1ff);
    write_int16(4, -2);
    write_int32(4, 0x01020304);
    write_float(4, 1.5);
    write_double(4, -2.25);
    write_bytes(4, "");
    write_bytes(4, "end");
    EXPECT_EQ(file_position(4), 3 + 1 + 2 + 4 + 4 + 8 + 3);
    close_file(4);
    const std::string expected(
        "x\r\n\xff\xfe\xff\x04\x03\x02\x01"
        "\x00\x00\xc0\x3f"
        "\x00\x00\x00\x00\x00\x00\x02\xc0"
        "end",
        25);
    EXPECT_EQ(testing::read_file(name), expected);

    ASSERT_EQ(open_file(4, name.c_str(), 1), 1);
    DynString line;
    int32_t value = 0;
    double number = 0;
    read_line(4, line);
    EXPECT_STREQ(line.c_str(), "x");
    read_uint8(4, value);
    EXPECT_EQ(value, 0xff);
    read_int16(4, value);
    EXPECT_EQ(value, -2);
    read_int32(4, value);
    EXPECT_EQ(value, 0x01020304);
    read_float(4, number);
    EXPECT_EQ(number, 1.5);
    read_double(4, number);
    EXPECT_EQ(number, -2.25);
}

TEST_F(ChannelTest, AppendModeAddsToTheEnd) {
    const std::string name = folder_.file("log.txt");
    testing::write_file(name, "one\r\n");
    ASSERT_EQ(open_file(0, name.c_str(), -1), 1);
    write_line(0, "two");
    close_file(0);
    EXPECT_EQ(testing::read_file(name), "one\r\ntwo\r\n");
}

TEST_F(ChannelTest, FailedOpensReportError3AndCloseClearsIt) {
    EXPECT_EQ(open_file(0, folder_.file("missing").c_str(), 1), 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(open_file(0, folder_.file("no/such/dir/f").c_str(), 0), 0);
    EXPECT_EQ(last_error_code(), 3);
    close_file(0);
    EXPECT_EQ(last_error_code(), 0);
}

TEST_F(ChannelTest, ChannelOutsideTheTableOnOpenSetsError7) {
    EXPECT_EQ(open_file(8, folder_.file("x").c_str(), 0), 0);
    EXPECT_EQ(last_error_code(), 7);
    EXPECT_EQ(open_file(-1, folder_.file("x").c_str(), 0), 0);
    EXPECT_EQ(last_error_code(), 7);
}

TEST_F(ChannelTest, ChannelErrorsEndTheProgramWithExitCode0) {
    int32_t value = 0;
    DynString text;
    EXPECT_FATAL(read_int32(8, value), 7);
    EXPECT_FATAL(write_int8(-1, 1), 7);
    EXPECT_FATAL(file_seek(9, 0, 0), 7);
    EXPECT_FATAL(file_position(100), 7);
    EXPECT_FATAL(read_bytes(8, text, 4), 7);
    // A closed channel.
    EXPECT_FATAL(read_uint8(5, value), 3);
    EXPECT_FATAL(write_line(5, "x"), 3);
    EXPECT_FATAL(read_line(5, text), 3);
    EXPECT_FATAL(read_bytes(5, text, 1), 3);
    // Writing to a block of memory.
    const char bytes[] = "ro";
    MemoryFile memory(bytes, 2);
    ASSERT_EQ(open_file(6, memory.name().c_str(), 1), 1);
    EXPECT_FATAL(write_bytes(6, "x"), 3);
}

TEST_F(ChannelTest, AFileIsSharedWithNobodyWhileAChannelWritesIt) {
    const std::string name = folder_.file("shared.dat");
    ASSERT_EQ(open_file(0, name.c_str(), 0), 1);
    write_bytes(0, "abcd");
    // No second stream may open it, in any mode, nor replace it.
    for (const int32_t mode : {1, 0, -1}) {
        EXPECT_EQ(open_file(2, name.c_str(), mode), 0) << mode;
        EXPECT_EQ(last_error_code(), 3) << mode;
    }
    EXPECT_EQ(file_size(name.c_str()), 0);
    write_file(folder_.file("other.dat"), "WXYZ");
    copy_file(folder_.file("other.dat").c_str(), name.c_str());
    EXPECT_EQ(last_error_code(), 3);
    // So the first channel reads back what it wrote itself.
    file_seek(0, 1, 0);
    int32_t byte = 0;
    read_uint8(0, byte);
    EXPECT_EQ(byte, 'b');
    close_file(0);
    EXPECT_EQ(testing::read_file(name), "abcd");

    // Readers share the file with each other, but not with a writer.
    ASSERT_EQ(open_file(0, name.c_str(), 1), 1);
    EXPECT_EQ(open_file(1, name.c_str(), 1), 1);
    EXPECT_EQ(file_size(name.c_str()), 4);
    EXPECT_EQ(open_file(2, name.c_str(), 0), 0);
    EXPECT_EQ(open_file(2, name.c_str(), -1), 0);
    close_all_channels();
    EXPECT_EQ(open_file(2, name.c_str(), -1), 1);
}

TEST_F(ChannelTest, SeekOnAClosedChannelMovesNothing) {
    EXPECT_EQ(file_seek(7, 5, 0), 0);
    EXPECT_EQ(file_position(7), 0);
}

TEST_F(ChannelTest, ClosingEveryChannelReleasesTheFiles) {
    ASSERT_EQ(open_file(0, folder_.file("a").c_str(), 0), 1);
    ASSERT_EQ(open_file(7, folder_.file("b").c_str(), 0), 1);
    close_all_channels();
    EXPECT_FATAL(write_int8(0, 1), 3);
    EXPECT_FATAL(write_int8(7, 1), 3);
}

}  // namespace
}  // namespace vexel
