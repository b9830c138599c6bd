#include "system/command_line_split.h"

#include <gtest/gtest.h>

namespace vexel::system {
namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineSplit, QuotesAndEscapesAsAShellHasThem) {
    const struct {
        const char* line;
        std::optional<Arguments> expected;  // nullopt: refused
    } cases[] = {
        {"prog a  b", Arguments{"prog", "a", "b"}},
        {" \tprog\na \n", Arguments{"prog", "a"}},
        {"prog \"two words\" 'single $HOME'", Arguments{"prog", "two words", "single $HOME"}},
        {"prog a\"b c\"'d'e", Arguments{"prog", "ab cde"}},
        {"prog \"\" ''", Arguments{"prog", "", ""}},
        {"prog \\\"x\\ y \\$", Arguments{"prog", "\"x y", "$"}},
        {"prog \"a\\\"b\\\\c\\$d\\e\"", Arguments{"prog", "a\"b\\c$d\\e"}},
        {"prog 'it'\\''s' 'a\\b'", Arguments{"prog", "it's", "a\\b"}},
        {"prog a\\\nb \"c\\\nd\"", Arguments{"prog", "ab", "cd"}},
        {"prog $HOME * | ; > f `x`", Arguments{"prog", "$HOME", "*", "|", ";", ">", "f", "`x`"}},
        {"  \t ", Arguments{}},
        {"prog \"open", std::nullopt},
        {"prog 'open", std::nullopt},
        {"prog \\", std::nullopt},
        {"prog \"a\\\"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(split_command_line(c.line), c.expected) << c.line;
}

}  // namespace
}  // namespace vexel::system
