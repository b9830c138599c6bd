// Internal: comparing names the way listings and lookups do (ASCII letters fold to lower case,
// whatever the C locale).
#pragma once

namespace vexel {

int compare_names_folded(const char* a, const char* b);  // -1, 0 or 1
inline bool same_name(const char* a, const char* b) {
    return compare_names_folded(a, b) == 0;
}

}  // namespace vexel
