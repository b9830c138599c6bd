#include "io/atomic_file.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

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

TEST(AtomicFile, CommitReplacesTheOldFileWhole) {
    ScopedTempDir folder;
    write_file(folder.file("f"), "old");
    AtomicFile file(folder.file("f").c_str());
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("new ", 4));
    // Until the commit the old content is what a reader sees.
    EXPECT_EQ(read_file(folder.file("f")), "old");
    ASSERT_TRUE(file.write("content", 7));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(read_file(folder.file("f")), "new content");
    EXPECT_EQ(entries_in(folder.path()), 1);
}

TEST(AtomicFile, AbandonedWriteLeavesTheOldFileAndNoLeftovers) {
    ScopedTempDir folder;
    write_file(folder.file("f"), "old");
    {
        AtomicFile file(folder.file("f").c_str());
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write("half", 4));
    }
    EXPECT_EQ(read_file(folder.file("f")), "old");
    EXPECT_EQ(entries_in(folder.path()), 1);
}

TEST(AtomicFile, TargetThatCannotBeReplacedStaysAsItWas) {
    ScopedTempDir folder;
    ::mkdir(folder.file("dir").c_str(), 0777);
    write_file(folder.file("dir/inside"), "i");
    AtomicFile file(folder.file("dir").c_str());
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("x", 1));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(read_file(folder.file("dir/inside")), "i");
    EXPECT_EQ(entries_in(folder.path()), 1);

    AtomicFile nowhere(folder.file("missing/f").c_str());
    EXPECT_FALSE(nowhere.open());
    EXPECT_FALSE(nowhere.write("x", 1));
    EXPECT_FALSE(nowhere.commit());
}

TEST(AtomicFile, ReplacementKeepsThePermissionsAndLongNamesWork) {
    ScopedTempDir folder;
    write_file(folder.file("private"), "old");
    ::chmod(folder.file("private").c_str(), 0600);
    AtomicFile file(folder.file("private").c_str());
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("new", 3));
    ASSERT_TRUE(file.commit());
    struct stat info;
    ASSERT_EQ(::stat(folder.file("private").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    const std::string long_name = folder.file(std::string(250, 'n'));
    AtomicFile long_file(long_name.c_str());
    ASSERT_TRUE(long_file.open());
    ASSERT_TRUE(long_file.write("x", 1));
    ASSERT_TRUE(long_file.commit());
    EXPECT_EQ(read_file(long_name), "x");
}

TEST(AtomicFile, EmptyDirectoryOfTheNameIsReplaced) {
    ScopedTempDir folder;
    ::mkdir(folder.file("empty").c_str(), 0777);
    AtomicFile file(folder.file("empty").c_str());
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.write("x", 1));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(read_file(folder.file("empty")), "x");
}

}  // namespace
}  // namespace vexel
