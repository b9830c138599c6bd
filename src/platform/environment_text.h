// Internal: reading the texts the VEXEL_* variables give (and the files they name), where blanks
// around an item mean nothing.
#pragma once

#include <string_view>

namespace vexel::platform {

// text without the spaces and tabs at its ends.
inline std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace vexel::platform
