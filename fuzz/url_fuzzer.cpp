// URL decoding: never longer than its input, and the inverse of URL encoding for every text.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <vexel/text.h>

#include "support/fuzz_harness.h"

using vexel::DynString;
using vexel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DynString text;
    text.append(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
    const DynString decoded = vexel::url_decode(text);
    check(decoded.length() <= text.length(), "decoding lengthened a text");

    const DynString encoded = vexel::url_encode(text);
    const DynString again = vexel::url_decode(encoded);
    check(again.length() == text.length() &&
              std::memcmp(again.c_str(), text.c_str(), text.length()) == 0,
          "decoding does not undo encoding");
    return 0;
}
