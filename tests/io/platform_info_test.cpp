#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include <vexel/error.h>
#include <vexel/platform_info.h>

#include "io/file_layer.h"
#include "io/locale_codes.h"
#include "io/platform_queries.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::ScopedTempDir;
using testing::write_file;

bool is_upper_hex(const std::string& text) {
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) || std::islower(c)) return false;
    }
    return true;
}

TEST(PlatformInfo, FixedKeysIgnoreCase) {
    EXPECT_STREQ(platform_info("").c_str(), "LINUX");
    EXPECT_STREQ(platform_info("device").c_str(), "DESKTOP");
    EXPECT_STREQ(platform_info("DeViCe").c_str(), "DESKTOP");
    EXPECT_STREQ(platform_info("FOO").c_str(), "NO_DATA");
    EXPECT_STREQ(platform_info("TIMEX").c_str(), "NO_DATA");
}

TEST(PlatformInfo, DeviceIdIsEightUpperCaseHexDigitsAndStable) {
    const std::string id = platform_info("id").c_str();
    EXPECT_EQ(id.size(), 8u);
    EXPECT_TRUE(is_upper_hex(id)) << id;
    EXPECT_EQ(id, platform_info("ID").c_str());
}

TEST(PlatformInfo, DeviceIdIsTheMaskedSerialLeastSignificantByteFirst) {
    // 16390125 ^ 0x5e17c0a9 = 0x5eedd744, written 44 D7 ED 5E.
    EXPECT_EQ(device_id_text(kFallbackSerial), "44D7ED5E");
    EXPECT_EQ(device_id_text(kDeviceIdMask), "00000000");
    EXPECT_EQ(serial_from_machine_id(""), kFallbackSerial);
    EXPECT_EQ(serial_from_machine_id("\n"), kFallbackSerial);
    const uint32_t serial = serial_from_machine_id("0123456789abcdef0123456789abcdef\n");
    EXPECT_EQ(serial, serial_from_machine_id("0123456789abcdef0123456789abcdef"));
    EXPECT_NE(serial, serial_from_machine_id("0123456789abcdef0123456789abcdee"));
}

TEST(PlatformInfo, TimeTextPadsEveryFieldButTheYear) {
    std::tm time{};
    time.tm_year = 2012 - 1900;
    time.tm_mon = 1;
    time.tm_mday = 3;
    time.tm_hour = 9;
    time.tm_min = 5;
    EXPECT_EQ(time_text(time), "2012-02-03 09:05:00");
    time.tm_year = 999 - 1900;
    EXPECT_EQ(time_text(time), "999-02-03 09:05:00");
}

TEST(PlatformInfo, TimeKeysFollowTheClockAndTheZone) {
    setenv("TZ", "UTC+5", 1);
    tzset();
    const std::string utc = platform_info("UTCTIME").c_str();
    const std::string local = platform_info("time").c_str();
    ASSERT_EQ(utc.size(), 19u);
    ASSERT_EQ(local.size(), 19u);
    EXPECT_EQ(utc[4], '-');
    EXPECT_EQ(utc[10], ' ');
    EXPECT_EQ(utc[13], ':');
    const int utc_hour = std::stoi(utc.substr(11, 2));
    const int local_hour = std::stoi(local.substr(11, 2));
    // Five hours behind, unless the minute turned over between the two readings.
    if (utc.substr(14) == local.substr(14)) {
        EXPECT_EQ((utc_hour - local_hour + 24) % 24, 5);
    }
}

TEST(PlatformInfo, BatteryIsAPercentage) {
    const std::string battery = platform_info("BATTERY").c_str();
    ASSERT_FALSE(battery.empty());
    const int percent = std::stoi(battery);
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
    EXPECT_EQ(std::to_string(percent), battery);
}

TEST(PlatformInfo, LocaleFollowsThePosixVariablesInOrder) {
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_STREQ(platform_info("LOCALE").c_str(), "de");
    setenv("LC_MESSAGES", "el_GR.UTF-8", 1);
    EXPECT_STREQ(platform_info("LOCALE").c_str(), "gr");
    setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_STREQ(platform_info("LOCALE").c_str(), "uk");
    setenv("LC_ALL", "en_GB", 1);
    EXPECT_STREQ(platform_info("LOCALE").c_str(), "us");
    setenv("LC_ALL", "C", 1);
    EXPECT_STREQ(platform_info("LOCALE").c_str(), "us");
    setenv("LC_ALL", "", 1);
    EXPECT_STREQ(platform_info("LOCALE").c_str(), "gr");
}

TEST(LocaleCodes, PosixLocalesMapToLanguageIdentifiers) {
    EXPECT_EQ(language_id_for_locale("de_DE.UTF-8"), 0x0407);
    EXPECT_EQ(language_id_for_locale("de_AT"), 0x0C07);
    EXPECT_EQ(language_id_for_locale("de_XX"), 0x0407);
    EXPECT_EQ(language_id_for_locale("DE"), 0x0407);
    EXPECT_EQ(language_id_for_locale("en_US.UTF-8"), 0x0409);
    EXPECT_EQ(language_id_for_locale("en_GB.ISO-8859-1"), 0x0809);
    EXPECT_EQ(language_id_for_locale("zh_TW.UTF-8"), 0x0404);
    EXPECT_EQ(language_id_for_locale("zh_HK"), 0x0C04);
    EXPECT_EQ(language_id_for_locale("sr_RS@latin"), 0x081A);
    EXPECT_EQ(language_id_for_locale("sr_RS"), 0x0C1A);
    EXPECT_EQ(language_id_for_locale("C.UTF-8"), 0);
    EXPECT_EQ(language_id_for_locale("POSIX"), 0);
    EXPECT_EQ(language_id_for_locale(""), 0);
    EXPECT_EQ(language_id_for_locale(nullptr), 0);
}

TEST(LocaleCodes, IdentifiersMapToTheirCodes) {
    EXPECT_STREQ(language_code(0x0409), "uk");
    EXPECT_STREQ(language_code(0x0422), "uk");
    EXPECT_STREQ(language_code(0x0809), "us");
    EXPECT_STREQ(language_code(0x0408), "gr");
    EXPECT_STREQ(language_code(0x0407), "de");
    EXPECT_STREQ(language_code(0x1407), "de");
    EXPECT_STREQ(language_code(0x0404), "ch");
    EXPECT_STREQ(language_code(0x0C04), "zh");
    EXPECT_STREQ(language_code(0x041A), "hr");
    EXPECT_STREQ(language_code(0x0C1A), "sr");
    EXPECT_STREQ(language_code(0x0411), "jp");
    EXPECT_STREQ(language_code(0x500A), "es");
    EXPECT_STREQ(language_code(0x0465), "di");
    EXPECT_STREQ(language_code(0x0417), "us");
    EXPECT_STREQ(language_code(0), "us");
}

TEST(PlatformInfo, DocumentsFolderFromTheUserDirsFileElseHome) {
    ScopedTempDir folder;
    setenv("HOME", (folder.path() + "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder.path() + "config").c_str(), 1);
    EXPECT_EQ(std::string(platform_info("DOCUMENTS").c_str()), folder.path() + "home/Documents");
    ::mkdir((folder.path() + "config").c_str(), 0777);
    write_file(folder.file("config/user-dirs.dirs"),
               "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
               "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(std::string(platform_info("documents").c_str()), folder.path() + "home/Dokumente");
    write_file(folder.file("config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n");
    EXPECT_STREQ(platform_info("DOCUMENTS").c_str(), "/srv/docs");
}

TEST(PlatformInfo, AppDataEndsInVexelAndExistsAfterwards) {
    ScopedTempDir folder;
    setenv("XDG_DATA_HOME", (folder.path() + "data/share").c_str(), 1);
    const std::string appdata = platform_info("APPDATA").c_str();
    EXPECT_EQ(appdata, folder.path() + "data/share/Vexel");
    struct stat info;
    ASSERT_EQ(::stat(appdata.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", (folder.path() + "home").c_str(), 1);
    EXPECT_EQ(std::string(platform_info("APPDATA").c_str()),
              folder.path() + "home/.local/share/Vexel");
}

TEST(PlatformInfo, TempIsTheTemporaryFolderEndingInASlash) {
    ScopedTempDir folder;
    const std::string temp = platform_info("temp").c_str();
    EXPECT_EQ(temp, folder.path());
    EXPECT_EQ(temp.back(), '/');
}

void* fake_gl_lookup(const char* name) {
    static int entry;
    return std::string(name) == "glGenFramebuffersEXT" ? &entry : nullptr;
}

TEST(PlatformInfo, GlExtensionKeyAsksTheDriverWithTheNameAsWritten) {
    EXPECT_STREQ(platform_info("GLEXT:glGenFramebuffersEXT").c_str(), "0");
    set_gl_proc_lookup(fake_gl_lookup);
    EXPECT_STREQ(platform_info("GLEXT:glGenFramebuffersEXT").c_str(), "1");
    EXPECT_STREQ(platform_info("glext:glGenFramebuffersEXT").c_str(), "1");
    EXPECT_STREQ(platform_info("GLEXT:GLGENFRAMEBUFFERSEXT").c_str(), "0");
    EXPECT_STREQ(platform_info("GLEXT:").c_str(), "0");
}

TEST(Environment, PutThenGet) {
    put_env("VEXEL_TEST_A", "1");
    EXPECT_STREQ(get_env("VEXEL_TEST_A").c_str(), "1");
    const std::string all = get_env("").c_str();
    EXPECT_NE(all.find("VEXEL_TEST_A=1\n"), std::string::npos);
    put_env("VEXEL_TEST_A", "");
    EXPECT_TRUE(get_env("VEXEL_TEST_A").empty());
    EXPECT_TRUE(get_env("VEXEL_TEST_NEVER_SET").empty());
}

TEST(Environment, CurrentDirectoryEndsInASlashAndCanBeChanged) {
    ScopedTempDir folder;
    ::mkdir(folder.file("sub").c_str(), 0777);
    EXPECT_EQ(get_current_dir().c_str()[get_current_dir().length() - 1], '/');
    EXPECT_EQ(set_current_dir((folder.path() + "sub\\").c_str()), 1);
    EXPECT_EQ(last_error_code(), 0);
    char real[4096];
    ASSERT_NE(::realpath(folder.file("sub").c_str(), real), nullptr);
    EXPECT_EQ(std::string(get_current_dir().c_str()), std::string(real) + "/");
    EXPECT_EQ(set_current_dir("/"), 1);
    EXPECT_STREQ(get_current_dir().c_str(), "/");
    EXPECT_EQ(set_current_dir(folder.file("missing").c_str()), 0);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_STREQ(get_current_dir().c_str(), "/");
}

}  // namespace
}  // namespace vexel
