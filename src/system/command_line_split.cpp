#include "system/command_line_split.h"

namespace vexel::system {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Inside double quotes a backslash only escapes the bytes the shell would otherwise interpret.
bool escapable_in_double_quotes(char c) {
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

}  // namespace

std::optional<std::vector<std::string>> split_command_line(std::string_view line) {
    std::vector<std::string> arguments;
    std::string current;
    bool in_argument = false;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (is_blank(c)) {
            if (in_argument) arguments.push_back(std::move(current));
            current.clear();
            in_argument = false;
            ++i;
        } else if (c == '\'') {
            const size_t close = line.find('\'', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            current.append(line.substr(i + 1, close - i - 1));
            in_argument = true;
            i = close + 1;
        } else if (c == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) return std::nullopt;
                const char q = line[i];
                if (q == '"') break;
                if (q == '\\' && i + 1 < line.size() && escapable_in_double_quotes(line[i + 1])) {
                    if (line[i + 1] != '\n') current += line[i + 1];
                    i += 2;
                } else {
                    current += q;
                    ++i;
                }
            }
            in_argument = true;
            ++i;
        } else if (c == '\\') {
            if (i + 1 >= line.size()) return std::nullopt;
            if (line[i + 1] != '\n') {
                current += line[i + 1];
                in_argument = true;
            }
            i += 2;
        } else {
            current += c;
            in_argument = true;
            ++i;
        }
    }
    if (in_argument) arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace vexel::system
