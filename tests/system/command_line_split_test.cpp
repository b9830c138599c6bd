#include "system/command_line_split.h"

#include <gtest/gtest.h>

namespace vexel::system {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineSplit, QuotesAndEscapesAsAShellHasThem) {
    const struct {
        const char* line;
        Arguments expected;
    } cases[] = {
        {"prog a  b", {"prog", "a", "b"}},
        {" \tprog\na \n", {"prog", "a"}},
        {"prog \"two words\" 'single $HOME'", {"prog", "two words", "single $HOME"}},
        {"prog a\"b c\"'d'e", {"prog", "ab cde"}},
        {"prog \"\" ''", {"prog", "", ""}},
        {"prog \\\"x\\ y \\$", {"prog", "\"x y", "$"}},
        {"prog \"a\\\"b\\\\c\\$d\\e\"", {"prog", "a\"b\\c$d\\e"}},
        {"prog 'it'\\''s' 'a\\b'", {"prog", "it's", "a\\b"}},
        {"prog a\\\nb \"c\\\nd\"", {"prog", "ab", "cd"}},
        {"prog $HOME * | ; > f `x`", {"prog", "$HOME", "*", "|", ";", ">", "f", "`x`"}},
        {"", {}},
        {"  \t ", {}},
    };
    for (const auto& c : cases) {
        const auto split = split_command_line(c.line);
        ASSERT_TRUE(split.has_value()) << c.line;
        EXPECT_EQ(*split, c.expected) << c.line;
    }
}

TEST(CommandLineSplit, UnclosedQuoteOrTrailingBackslashIsRefused) {
    for (const char* line : {"prog \"open", "prog 'open", "prog \\", "prog \"a\\\""}) {
        EXPECT_FALSE(split_command_line(line).has_value()) << line;
    }
}

}  // namespace
}  // namespace vexel::system
