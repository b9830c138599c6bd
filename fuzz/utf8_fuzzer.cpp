// UTF-8 to 8-bit text, in place: never longer than its input, and every 8-bit text written as
// UTF-8 comes back as itself.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <vexel/text.h>

#include "support/fuzz_harness.h"

using vexel::DynString;
using vexel::fuzz::check;

namespace {

// Each byte as the UTF-8 of the code point of that value.
DynString as_utf8(const uint8_t* data, size_t size) {
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] < 128) {
            out += static_cast<char>(data[i]);
        } else {
            out += static_cast<char>(0xC0 | data[i] >> 6);
            out += static_cast<char>(0x80 | (data[i] & 0x3F));
        }
    }
    DynString text;
    text.append(out.data(), static_cast<uint32_t>(out.size()));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DynString text;
    text.append(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    vexel::utf8_to_8bit(text);
    check(text.length() <= size, "decoding lengthened a text");

    DynString round = as_utf8(data, size);
    vexel::utf8_to_8bit(round);
    check(round.length() == size && (size == 0 || std::memcmp(round.c_str(), data, size) == 0),
          "8-bit text through UTF-8 did not come back");
    return 0;
}
