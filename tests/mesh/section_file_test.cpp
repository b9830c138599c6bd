#include "mesh/section_file.h"

#include <gtest/gtest.h>

#include <string>

#include "io/virtual_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

std::string value(const SectionFile& file, const char* section, const char* key) {
    return file.get(section, key).c_str();
}

TEST(SectionFileTest, SectionsKeysAndValuesFollowTheLineRules) {
    SectionFile file;
    file.parse_line(";VXW multi-mesh description");
    file.parse_line("count=9");  // before any section: under the empty name
    file.parse_line(" \t[Textures] trailing words");
    file.parse_line("Count = 2");
    file.parse_line("\t1\t=  wood.png \t\r\n");
    file.parse_line("2=stone.bmp");
    file.parse_line("; 3=commented.png");
    file.parse_line("no equals sign here");
    file.parse_line("[objects=x");
    file.parse_line("1ta=2");
    file.parse_line("1= a b  ");
    EXPECT_EQ(value(file, "textures", "count"), "2");
    EXPECT_EQ(value(file, "TEXTURES", "1"), "wood.png ");
    EXPECT_EQ(value(file, "textures", "2"), "stone.bmp");
    EXPECT_EQ(value(file, "textures", "3"), "0");
    EXPECT_EQ(value(file, "textures", "no"), "0");
    EXPECT_EQ(value(file, "objects", "1TA"), "2");
    EXPECT_EQ(value(file, "objects", "1"), "a b  ");
    EXPECT_EQ(value(file, "", "count"), "9");
    EXPECT_EQ(value(file, "missing", "count"), "0");
}

TEST(SectionFileTest, SectionNameEndsAtTheClosingBracketOrABlank) {
    SectionFile file;
    file.parse_line("[a]b");
    file.parse_line("k=1");
    file.parse_line("[c d]");
    file.parse_line("k=2");
    EXPECT_EQ(value(file, "a", "k"), "1");
    EXPECT_EQ(value(file, "c", "k"), "2");
}

TEST(SectionFileTest, TheFirstOfRepeatedKeysCountsAndAnEmptyValueIsKept) {
    SectionFile file;
    file.parse_line("[s]");
    file.parse_line("k=first");
    file.parse_line("k=second");
    file.parse_line("e=");
    EXPECT_EQ(value(file, "s", "k"), "first");
    EXPECT_EQ(value(file, "s", "e"), "");
}

TEST(SectionFileTest, ReadsEveryLineOfAFile) {
    const std::string text = ";VXW\r\n[objects]\r\ncount=1\r\n1=m.vxm";
    MemoryFile memory(text.data(), static_cast<uint32_t>(text.size()));
    SectionFile file;
    ASSERT_TRUE(file.read(memory.name().c_str()));
    EXPECT_EQ(value(file, "objects", "count"), "1");
    EXPECT_EQ(value(file, "objects", "1"), "m.vxm");
    testing::ScopedTempDir folder;
    EXPECT_FALSE(file.read(folder.file("missing.vxw").c_str()));
    EXPECT_EQ(value(file, "objects", "count"), "0");
}

}  // namespace
}  // namespace vexel
