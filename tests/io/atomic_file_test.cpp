#include "io/atomic_file.h"

#include <dirent.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include <vexel/error.h>
#include <vexel/files.h>
#include <vexel/settings.h>

#include "io/line_slot_store.h"
#include "io/settings_store.h"

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

// Runs body in a child process that cannot create files in folder but can write the files
// there that everyone may write: as root, whom no mode stops, the child becomes nobody; any
// other user gets the folder read-only. The child's exit status: 0 when body succeeded.
constexpr int kNoUnprivilegedUser = 77;
int run_unable_to_create_files_in(const std::string& folder, const std::function<bool()>& body) {
    const bool root = ::geteuid() == 0;
    ::chmod(folder.c_str(), root ? 0755 : 0555);
    const pid_t child = ::fork();
    if (child == 0) {
        if (root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(kNoUnprivilegedUser);
        }
        ::_exit(body() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    ::chmod(folder.c_str(), 0755);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(AtomicFile, EveryWriterUpdatesAWritableFileInAFolderItMayNotWrite) {
    struct Case {
        const char* file;
        const char* old_content;
        std::function<bool(const std::string& path)> write;
        const char* new_content;
    };
    const Case cases[] = {
        {"direct", "old",
         [](const std::string& path) {
             AtomicFile file(path.c_str());
             return file.open() && file.writes_in_place() && file.write("new", 3) && file.commit();
         },
         "new"},
        {"copy", "old",
         [](const std::string& path) {
             copy_file((path + ".source").c_str(), path.c_str());
             return last_error_code() == 0;
         },
         "copied"},
        {"game.ini", "[Game]\r\nscore=1\r\n",
         [](const std::string& path) {
             ini_open(path.c_str());
             ini_put("Game", "score", "2");
             return settings_store().write_back();
         },
         "[Game]\r\nscore=2\r\n"},
        {"save.txt", "first\r\n",
         [](const std::string& path) {
             put_file_line(path.c_str(), 1, "x");
             return line_slot_store().write_back();
         },
         "first\r\nx\r\n"},
    };
    for (const Case& c : cases) {
        ScopedTempDir top;
        ::chmod(top.path().c_str(), 0755);
        write_file(top.file("ErrorLog.txt"), "");
        ::chmod(top.file("ErrorLog.txt").c_str(), 0666);
        const std::string folder = top.file("locked");
        ::mkdir(folder.c_str(), 0755);
        const std::string path = folder + "/" + c.file;
        write_file(path, c.old_content);
        ::chmod(path.c_str(), 0666);
        write_file(path + ".source", "copied");

        const int status = run_unable_to_create_files_in(folder, [&] { return c.write(path); });
        if (status == kNoUnprivilegedUser) GTEST_SKIP() << "no unprivileged user to run as";
        EXPECT_EQ(status, 0) << c.file;
        EXPECT_EQ(read_file(path), c.new_content) << c.file;
        EXPECT_EQ(entries_in(folder), 2) << c.file;
        EXPECT_EQ(read_file(top.file("ErrorLog.txt")), "") << c.file;
    }
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
