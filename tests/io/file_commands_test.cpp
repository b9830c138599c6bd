#include <gtest/gtest.h>
#include <sys/stat.h>

#include <dirent.h>

#include <string>

#include <vexel/error.h>
#include <vexel/files.h>

#include "io/virtual_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::read_file;
using testing::ScopedTempDir;
using testing::write_file;

int entries_in(const std::string& folder) {
    int count = 0;
    DIR* dir = ::opendir(folder.c_str());
    while (dirent* entry = ::readdir(dir)) {
        if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..") ++count;
    }
    ::closedir(dir);
    return count;
}

class FileCommandsTest : public ::testing::Test {
protected:
    ScopedTempDir folder_;
};

TEST_F(FileCommandsTest, FileSizeOfDiskAndMemoryNames) {
    write_file(folder_.file("five"), "12345");
    EXPECT_EQ(file_size(folder_.file("five").c_str()), 5);
    EXPECT_EQ(last_error_code(), 0);
    const char bytes[40] = {};
    MemoryFile memory(bytes, 40);
    EXPECT_EQ(file_size(memory.name().c_str()), 40);
    EXPECT_EQ(file_size(folder_.file("missing").c_str()), 0);
    EXPECT_EQ(last_error_code(), 3);
}

TEST_F(FileCommandsTest, CopyFileCopiesDiskAndMemorySources) {
    std::string content(10000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i % 251);
    write_file(folder_.file("src"), content);
    copy_file(folder_.file("src").c_str(), folder_.file("dst").c_str());
    EXPECT_EQ(read_file(folder_.file("dst")), content);

    MemoryFile memory(content.data(), 4097);
    copy_file(memory.name().c_str(), folder_.file("from_memory").c_str());
    EXPECT_EQ(read_file(folder_.file("from_memory")), content.substr(0, 4097));
    EXPECT_EQ(entries_in(folder_.path()), 3);
}

TEST_F(FileCommandsTest, CopyOntoItselfKeepsTheContent) {
    write_file(folder_.file("same"), "content");
    copy_file(folder_.file("same").c_str(), folder_.file("same").c_str());
    EXPECT_EQ(read_file(folder_.file("same")), "content");
}

TEST_F(FileCommandsTest, FailedCopyLeavesTheDestinationAsItWas) {
    write_file(folder_.file("dst"), "keep me");
    copy_file(folder_.file("missing").c_str(), folder_.file("dst").c_str());
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(read_file(folder_.file("dst")), "keep me");

    const char bytes[] = "abc";
    MemoryFile memory(bytes, 3);
    write_file(folder_.file("src"), "x");
    copy_file(folder_.file("src").c_str(), memory.name().c_str());
    EXPECT_EQ(last_error_code(), 3);
    copy_file(folder_.file("src").c_str(), folder_.file("no/such/folder/f").c_str());
    EXPECT_EQ(last_error_code(), 3);
    // A destination that is a folder with content cannot be replaced.
    ::mkdir(folder_.file("full").c_str(), 0777);
    write_file(folder_.file("full/inside"), "i");
    copy_file(folder_.file("src").c_str(), folder_.file("full").c_str());
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(read_file(folder_.file("full/inside")), "i");
    EXPECT_EQ(entries_in(folder_.path()), 3);
}

TEST_F(FileCommandsTest, ExistenceTellsFilesFromDirectories) {
    write_file(folder_.file("f"), "x");
    ::mkdir(folder_.file("d").c_str(), 0777);
    EXPECT_EQ(file_exists(folder_.file("f").c_str()), 1);
    EXPECT_EQ(file_exists(folder_.file("d").c_str()), 0);
    EXPECT_EQ(directory_exists(folder_.file("d").c_str()), 1);
    EXPECT_EQ(directory_exists(folder_.file("f").c_str()), 0);
    EXPECT_EQ(directory_exists(folder_.file("missing").c_str()), 0);
    EXPECT_EQ(file_exists(folder_.file("missing").c_str()), 0);
    EXPECT_EQ(file_exists(""), 0);
}

TEST_F(FileCommandsTest, CreateAndDeleteWithEitherSlash) {
    const std::string folder = folder_.path() + "made";
    EXPECT_EQ(create_directory(folder.c_str()), 1);
    EXPECT_EQ(create_directory(folder.c_str()), 0);
    EXPECT_EQ(create_directory((folder_.path() + "a\\b").c_str()), 0);
    write_file(folder + "/f.txt", "x");
    EXPECT_EQ(delete_file(folder.c_str()), 0);  // not empty
    EXPECT_EQ(delete_file((folder_.path() + "made\\f.txt").c_str()), 1);
    EXPECT_EQ(delete_file(folder.c_str()), 1);
    EXPECT_EQ(directory_exists(folder.c_str()), 0);
    EXPECT_EQ(delete_file(folder.c_str()), 0);
}

TEST(Names, ToForwardSlashesInPlace) {
    DynString text("C:\\games\\vexel/media\\");
    to_forward_slashes(text);
    EXPECT_STREQ(text.c_str(), "C:/games/vexel/media/");
    DynString empty;
    to_forward_slashes(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(Names, WildcardMatchCases) {
    EXPECT_EQ(wildcard_match("*.txt", "README.TXT"), 1);
    EXPECT_EQ(wildcard_match("a?c", "a.c"), 0);
    EXPECT_EQ(wildcard_match("a?c", "abc"), 1);
    EXPECT_EQ(wildcard_match("*", ""), 1);
    EXPECT_EQ(wildcard_match("*.*", "no_dot"), 1);
    EXPECT_EQ(wildcard_match("*.*", ""), 1);
    EXPECT_EQ(wildcard_match("", ""), 1);
    EXPECT_EQ(wildcard_match("", "a"), 0);
    EXPECT_EQ(wildcard_match("a", ""), 0);
    EXPECT_EQ(wildcard_match("**a**", "bab"), 1);
    EXPECT_EQ(wildcard_match("a*", "a"), 1);
    EXPECT_EQ(wildcard_match("*b*c", "abxbyc"), 1);
    EXPECT_EQ(wildcard_match("*b*c", "abxbycd"), 0);
    EXPECT_EQ(wildcard_match("tile*.VXM", "tile-square.vxm"), 1);
    EXPECT_EQ(wildcard_match("?", ""), 0);
    EXPECT_EQ(wildcard_match("a??", "ab"), 0);
    EXPECT_EQ(wildcard_match("*?", "."), 0);
}

TEST(Names, CompareNamesIgnoresCase) {
    EXPECT_EQ(compare_names("Alpha", "alpha"), 0);
    EXPECT_EQ(compare_names("alpha", "BETA"), -1);
    EXPECT_EQ(compare_names("b", "A"), 1);
    EXPECT_EQ(compare_names("ab", "a"), 1);
    EXPECT_EQ(compare_names("", ""), 0);
}

}  // namespace
}  // namespace vexel
