#pragma once

#include <random>
#include <string>
#include <string_view>

#include <vexel/dyn_string.h>

namespace vexel::testing {

// A text's length() bytes, zero bytes included, for comparing with expected values.
inline std::string bytes(const DynString& text) {
    return std::string(text.c_str(), text.length());
}

// A DynString holding exactly these bytes, zero bytes included.
inline DynString text_of(std::string_view content) {
    DynString text;
    text.append(content.data(), static_cast<uint32_t>(content.size()));
    return text;
}

// Random bytes from a three-letter alphabet with a zero byte in it: small enough that needles
// repeat and overlap often.
inline std::string random_ab0_text(std::mt19937& random, size_t length) {
    std::string text(length, 'a');
    for (char& c : text)
        c = "ab\0"[random() % 3];
    return text;
}

}  // namespace vexel::testing
