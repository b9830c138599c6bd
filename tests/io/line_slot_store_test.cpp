#include "io/line_slot_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <vexel/error.h>
#include <vexel/settings.h>

#include "io/file_layer.h"
#include "io/virtual_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using ::testing::ExitedWithCode;
using testing::read_file;
using testing::ScopedTempDir;
using testing::write_file;

class LineSlotTest : public ::testing::Test {
protected:
    std::string line(const std::string& name, int32_t index) {
        DynString text;
        get_file_line(name.c_str(), index, text);
        return text.c_str();
    }

    ScopedTempDir folder_;
};

TEST_F(LineSlotTest, PutOnANewFileIsWrittenAtExitWithEmptyLinesBefore) {
    const std::string name = folder_.file("save.txt");
    EXPECT_EXIT(
        {
            put_file_line(name.c_str(), 2, "x");
            std::exit(0);
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(read_file(name), "\r\n\r\nx\r\n");
}

TEST_F(LineSlotTest, MissingFileAndBadIndex) {
    EXPECT_EQ(line(folder_.file("missing.txt"), 0), "NO_FILE");
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(line(folder_.file("missing.txt"), 0), "NO_FILE");
    DynString text;
    EXPECT_EQ(get_file_line(folder_.file("missing.txt").c_str(), 300, text), 7);
    EXPECT_STREQ(text.c_str(), "NO_DATA");
    EXPECT_EQ(last_error_code(), 7);
    EXPECT_EQ(get_file_line(folder_.file("missing.txt").c_str(), -1, text), 7);
    EXPECT_EQ(put_file_line(folder_.file("missing.txt").c_str(), 256, "x"), 7);
    EXPECT_EQ(last_error_code(), 7);
}

TEST_F(LineSlotTest, SlotsHoldTheLinesOfTheFile) {
    const std::string name = folder_.file("data.txt");
    write_file(name, "abc\r\r\nsecond\n\nfourth");
    EXPECT_EQ(line(name, 0), "abc");
    EXPECT_EQ(line(name, 1), "second");
    EXPECT_EQ(line(name, 2), "NO_DATA");
    EXPECT_EQ(line(name, 3), "fourth");
    EXPECT_EQ(line(name, 4), "NO_DATA");
    EXPECT_EQ(line(name, 255), "NO_DATA");
}

TEST_F(LineSlotTest, NumbersGoInAndComeOutAsText) {
    const std::string name = folder_.file("n.txt");
    EXPECT_EQ(put_file_line(name.c_str(), 0, 2.5), 0);
    EXPECT_EQ(put_file_line(name.c_str(), 1, "17 apples"), 0);
    double number = 0;
    int32_t integer = 0;
    get_file_line(name.c_str(), 0, number);
    get_file_line(name.c_str(), 1, integer);
    EXPECT_DOUBLE_EQ(number, 2.5);
    EXPECT_EQ(integer, 17);
    get_file_line(name.c_str(), 5, integer);
    EXPECT_EQ(integer, 0);
}

TEST_F(LineSlotTest, SwitchingFilesWritesTheChangedOneBack) {
    const std::string first = folder_.file("first.txt");
    const std::string second = folder_.file("second.txt");
    write_file(first, "one\ntwo\nthree\n");
    write_file(second, "other\n");
    put_file_line(first.c_str(), 1, "TWO");
    EXPECT_EQ(line(second, 0), "other");
    EXPECT_EQ(read_file(first), "one\r\nTWO\r\nthree\r\n");
    // Reading alone never writes.
    EXPECT_EQ(line(first, 0), "one");
    EXPECT_EQ(read_file(second), "other\n");
}

TEST_F(LineSlotTest, EachLossOfLinesThatCannotBeWrittenBackIsReported) {
    const std::string lost = folder_.file("missing/save.txt");
    put_file_line(lost.c_str(), 0, "x");
    put_file_line(folder_.file("other.txt").c_str(), 0, "y");
    const std::string line = "put_file_line: cannot write \"" + lost + "\": folder not found\n";
    EXPECT_EQ(read_file(error_log_path()), line);
    // At exit only the file that can be written is, and nothing more is logged.
    EXPECT_EXIT(
        {
            put_file_line(lost.c_str(), 0, "x");
            std::exit(0);
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(read_file(error_log_path()), line + line);
    EXPECT_EQ(read_file(folder_.file("other.txt")), "y\r\n");
}

TEST_F(LineSlotTest, LongTextIsCutTo1023Bytes) {
    const std::string name = folder_.file("long.txt");
    put_file_line(name.c_str(), 0, std::string(2000, 'L').c_str());
    EXPECT_EQ(line(name, 0), std::string(1023, 'L'));
    write_back_stores();
    EXPECT_EQ(read_file(name), std::string(1023, 'L') + "\r\n");
}

TEST_F(LineSlotTest, AFullSlotWrittenBackKeepsTheSlotsAfterIt) {
    const std::string full(1023, 'F');
    const std::string name = folder_.file("full.txt");
    put_file_line(name.c_str(), 0, full.c_str());
    put_file_line(name.c_str(), 1, "next");
    write_back_stores();
    const std::string written = read_file(name);
    ASSERT_EQ(written, full + "\r\nnext\r\n");
    // Read back from a memory block, then from the file itself (the switch makes it load again).
    MemoryFile memory(written.data(), static_cast<uint32_t>(written.size()));
    for (const std::string& source : {memory.name(), name}) {
        EXPECT_EQ(line(source, 0), full);
        EXPECT_EQ(line(source, 1), "next");
        EXPECT_EQ(line(source, 2), "NO_DATA");
    }
}

TEST_F(LineSlotTest, OnlyTheFirst256LinesAreRead) {
    const std::string name = folder_.file("many.txt");
    std::string content;
    for (int i = 0; i < 300; ++i)
        content += std::to_string(i) + "\n";
    write_file(name, content);
    EXPECT_EQ(line(name, 255), "255");
}

TEST_F(LineSlotTest, MemoryFilesAreReadButNeverWritten) {
    const std::string content = "m0\nm1\n";
    MemoryFile memory(content.data(), static_cast<uint32_t>(content.size()));
    EXPECT_EQ(line(memory.name(), 1), "m1");
    put_file_line(memory.name().c_str(), 0, "changed");
    EXPECT_TRUE(line_slot_store().write_back());
    EXPECT_EQ(line(memory.name(), 0), "changed");
}

}  // namespace
}  // namespace vexel
