#include <gtest/gtest.h>

#include <string>

#include <vexel/text.h>

namespace vexel {
namespace {

TEST(FormatNumber, UsesTheIntegerPartsOfWidthAndDecimals) {
    EXPECT_STREQ(format_number(8, 2, 3.14159).c_str(), "    3.14");
    EXPECT_STREQ(format_number(8.9, 2.7, 3.14159).c_str(), "    3.14");
    EXPECT_STREQ(format_number(4, 0, 10).c_str(), "  10");
    EXPECT_STREQ(format_number(0, 0, -2.5).c_str(), "-2");
    EXPECT_STREQ(format_number(5, -1, 7).c_str(), "    7");
}

TEST(FormatNumber, ANegativeWidthLeftAligns) {
    EXPECT_STREQ(format_number(-8, 2, 1.5).c_str(), "1.50    ");
    EXPECT_STREQ(format_number(-8.9, 2, -1.5).c_str(), "-1.50   ");
    EXPECT_STREQ(format_number(-5, -1, 7).c_str(), "7    ");
    EXPECT_STREQ(format_number(-2, 3, 12.5).c_str(), "12.500");
}

TEST(FormatNumber, HugeWidthsAndValuesAreCutNeverOverrun) {
    EXPECT_EQ(format_number(1e9, 0, 1).length(), 700u);
    EXPECT_EQ(format_number(-1e9, 0, 1).length(), 700u);
    const DynString big = format_number(0, 1e9, 1e308);
    EXPECT_GT(big.length(), 309u);
    EXPECT_LT(big.length(), 1024u);
    EXPECT_LT(format_number(1e9, 1e9, -1e308).length(), 1024u);
}

}  // namespace
}  // namespace vexel
