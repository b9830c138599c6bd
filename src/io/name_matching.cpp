#include <cstring>

#include <vexel/files.h>

#include "io/names.h"

namespace vexel {

namespace {

char fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool matches(const char* pattern, const char* name) {
    const char* star_pattern = nullptr;
    const char* star_name = nullptr;
    while (*name) {
        if (*pattern == '*') {
            while (*pattern == '*')
                ++pattern;
            if (!*pattern) return true;
            star_pattern = pattern;
            star_name = name;
            continue;
        }
        const bool one = *pattern == '?' ? *name != '.' : *pattern && fold(*pattern) == fold(*name);
        if (one) {
            ++pattern;
            ++name;
            continue;
        }
        if (!star_pattern) return false;
        // Let the last '*' swallow one more character and try again from there.
        pattern = star_pattern;
        name = ++star_name;
    }
    while (*pattern == '*')
        ++pattern;
    return !*pattern;
}

}  // namespace

void to_forward_slashes(DynString& text) {
    if (text.empty()) return;  // an empty text keeps the shared buffer
    char* bytes = text.data();
    for (uint32_t i = 0; i < text.length(); ++i) {
        if (bytes[i] == '\\') bytes[i] = '/';
    }
}

int32_t wildcard_match(const DynString& pattern, const DynString& name) {
    if (std::strcmp(pattern.c_str(), "*.*") == 0) return 1;
    return matches(pattern.c_str(), name.c_str()) ? 1 : 0;
}

int compare_names_folded(const char* left, const char* right) {
    for (;; ++left, ++right) {
        const auto l = static_cast<unsigned char>(fold(*left));
        const auto r = static_cast<unsigned char>(fold(*right));
        if (l != r) return l < r ? -1 : 1;
        if (!l) return 0;
    }
}

int32_t compare_names(const DynString& a, const DynString& b) {
    return compare_names_folded(a.c_str(), b.c_str());
}

}  // namespace vexel
