#include "io/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/settings.h>

#include "archive_writer.h"
#include "io/file_layer.h"
#include "io/virtual_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using ::testing::ExitedWithCode;
using testing::read_file;
using testing::ScopedTempDir;
using testing::write_file;

class SettingsTest : public ::testing::Test {
protected:
    std::string load(const std::string& content, const std::string& name = "game.ini") {
        write_file(folder_.file(name), content);
        ini_open(folder_.file(name).c_str());
        return folder_.file(name);
    }

    std::string get(const char* section, const char* key) {
        return ini_get(section, key, "<none>").c_str();
    }

    ScopedTempDir folder_;
};

TEST_F(SettingsTest, CommentsAndEmptySectionsVanishWhenTheFileIsRewritten) {
    const std::string first = load("[Game]\r\nscore=10\r\n;x=1\r\n[Empty]\r\n");
    EXPECT_EQ(get("game", "SCORE"), "10");
    EXPECT_EQ(get("Game", "x"), "<none>");
    EXPECT_EQ(get(";x", "1"), "<none>");
    // Unchanged, it is not written back.
    write_file(folder_.file("other.ini"), "");
    ini_open(folder_.file("other.ini").c_str());
    EXPECT_EQ(read_file(first), "[Game]\r\nscore=10\r\n;x=1\r\n[Empty]\r\n");

    ini_open(first.c_str());
    ini_put("Game", "score", "10");
    ini_open(folder_.file("other.ini").c_str());
    EXPECT_EQ(read_file(first), "[Game]\r\nscore=10\r\n");
}

TEST_F(SettingsTest, PutReplacesRemovesAndAppends) {
    const std::string name = load("[A]\nk1=v1\nk2=v2\nk3=v3\n[B]\nx=1\n[C]\ny=2\n");
    ini_put("a", "K1", "new");
    ini_put("A", "k1", "");  // the last pair moves into its place
    ini_put("A", "k4", "v4");
    ini_put("A", "missing", "");
    ini_put("Nowhere", "key", "");
    ini_put("B", "", "");  // the last section moves into its place
    ini_put("D", "z", "3");
    EXPECT_EQ(get("A", "k1"), "<none>");
    EXPECT_EQ(get("B", "x"), "<none>");
    EXPECT_EQ(get("Nowhere", "key"), "<none>");
    ini_open("");
    EXPECT_EQ(read_file(name), "[A]\r\nk3=v3\r\nk2=v2\r\nk4=v4\r\n[C]\r\ny=2\r\n[D]\r\nz=3\r\n");
    EXPECT_EQ(get("A", "k3"), "<none>");
}

TEST_F(SettingsTest, ParsingRulesForKeysValuesAndSectionNames) {
    load(
        "top=level\n"
        "  name = value  \n"
        "\tspaced\t=\tvalue with spaces \t\r\n"
        "[ My Section ] trailing\n"
        "novalue=\n"
        "justakey\n"
        "key junk=1\n"
        "=nokey\n"
        "[Second]]\n"
        "a=b=c\n"
        "[Third\n"
        "t=3\n");
    EXPECT_EQ(get("", "top"), "level");
    EXPECT_EQ(get("", "name"), "value  ");
    EXPECT_EQ(get("", "spaced"), "value with spaces ");
    EXPECT_EQ(get("My", "novalue"), "<none>");
    EXPECT_EQ(get("My", "justakey"), "<none>");
    EXPECT_EQ(get("My", "key"), "<none>");
    EXPECT_EQ(get("My", ""), "nokey");
    EXPECT_EQ(get("Second]", "a"), "b=c");
    EXPECT_EQ(get("Third", "t"), "3");
}

TEST_F(SettingsTest, FirstMatchingSectionAndKeyWin) {
    load("[S]\nk=1\nK=2\n[s]\nk=3\n");
    EXPECT_EQ(get("S", "k"), "1");
    ini_put("s", "k", "9");
    EXPECT_EQ(get("S", "K"), "9");
}

TEST_F(SettingsTest, MissingFileLeavesTheStoreEmptyAndIsCreatedOnWriteBack) {
    const std::string name = folder_.file("new.ini");
    ini_open(name.c_str());
    EXPECT_EQ(get("Game", "score"), "<none>");
    ini_put("Game", "score", "5");
    ini_open("");
    EXPECT_EQ(read_file(name), "[Game]\r\nscore=5\r\n");
}

TEST_F(SettingsTest, ChangesAreWrittenBackAtProcessExit) {
    const std::string name = load("[Game]\nscore=1\n");
    EXPECT_EXIT(
        {
            ini_put("Game", "score", "10");
            std::exit(0);
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(read_file(name), "[Game]\r\nscore=10\r\n");
}

TEST_F(SettingsTest, WriteBackHookWritesOnceAndOnlyWhenChanged) {
    const std::string name = load("[Game]\nscore=1\n");
    write_back_stores();
    EXPECT_EQ(read_file(name), "[Game]\nscore=1\n");
    ini_put("Game", "lives", "3");
    write_back_stores();
    EXPECT_EQ(read_file(name), "[Game]\r\nscore=1\r\nlives=3\r\n");
    write_file(name, "edited elsewhere");
    write_back_stores();
    EXPECT_EQ(read_file(name), "edited elsewhere");
}

TEST_F(SettingsTest, MemoryFilesAreReadButNeverWritten) {
    const std::string content = "[Game]\nscore=7\n";
    MemoryFile memory(content.data(), static_cast<uint32_t>(content.size()));
    ini_open(memory.name().c_str());
    EXPECT_EQ(get("Game", "score"), "7");
    ini_put("Game", "score", "8");
    ini_open("");
    EXPECT_EQ(get("Game", "score"), "<none>");
}

TEST_F(SettingsTest, SettingsInsideTheArchiveAreRead) {
    const std::string content = "[Game]\nscore=42\n";
    std::vector<uint8_t> archive;
    std::string error;
    ASSERT_TRUE(vxpack::build_archive(
        {}, {{"defaults.ini", std::vector<uint8_t>(content.begin(), content.end())}}, &archive,
        &error));
    write_file(folder_.file("game.vxa"), std::string(archive.begin(), archive.end()));
    set_archive(folder_.file("game.vxa").c_str(), "");
    ini_open("defaults.ini");
    EXPECT_EQ(get("Game", "score"), "42");
    EXPECT_TRUE(is_memory_name(settings_store().file_name().c_str()));
}

TEST_F(SettingsTest, FailedWriteBackIsLoggedOnceAndDisturbsNothing) {
    const std::string name = load("[Game]\nscore=1\n");
    ini_put("Game", "score", "2");
    // The file's place is taken by a folder with content: the write cannot land.
    ::unlink(name.c_str());
    ::mkdir(name.c_str(), 0777);
    write_file(name + "/keep", "k");
    EXPECT_FALSE(settings_store().write_back());
    EXPECT_TRUE(settings_store().write_back());
    EXPECT_EQ(read_file(name + "/keep"), "k");
    EXPECT_EQ(read_file(error_log_path()),
              "ini_put: cannot write \"" + name + "\": a folder has that name\n");
}

TEST_F(SettingsTest, SettingsForAMissingFolderAreReportedInsteadOfLostInSilence) {
    const std::string name = folder_.file("missing/game.ini");
    EXPECT_EXIT(
        {
            ini_open(name.c_str());
            ini_put("Game", "score", "5");
            std::exit(0);
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(read_file(error_log_path()),
              "ini_put: cannot write \"" + name + "\": folder not found\n");
}

}  // namespace
}  // namespace vexel
