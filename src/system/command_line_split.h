// Internal: a command line of one text turned into a program's arguments, quoted the way a POSIX
// shell quotes, without running a shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexel::system {

// Blanks (space, tab, newline) separate arguments. 'single quotes' keep every byte as it is;
// "double quotes" keep every byte except that a backslash before $ ` " \ or a newline escapes
// it; outside quotes a backslash escapes any byte, and a backslash-newline joins two lines.
// Quotes join with what touches them ("a"'b'c is one argument), and "" is an empty argument.
// Nothing else is special: no variables, globbing, pipes or redirections. An unclosed quote or
// a trailing lone backslash cannot be parsed: nullopt. A blank line gives no arguments.
std::optional<std::vector<std::string>> split_command_line(std::string_view line);

}  // namespace vexel::system
