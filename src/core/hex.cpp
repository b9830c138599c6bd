#include <vexel/text.h>

namespace vexel {

namespace {

int32_t hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

}  // namespace

DynString hex_encode(const void* bytes, uint32_t count, bool upper) {
    DynString text;
    if (count == 0 || !bytes) return text;
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char* out = text.buffer(count * 2);
    const auto* in = static_cast<const unsigned char*>(bytes);
    for (uint32_t i = 0; i < count; ++i) {
        out[2 * i] = digits[in[i] >> 4];
        out[2 * i + 1] = digits[in[i] & 15];
    }
    out[count * 2] = 0;
    text.sync_length();
    return text;
}

int32_t hex_pair_value(char hi, char lo) {
    return hex_digit_value(hi) * 16 + hex_digit_value(lo);
}

}  // namespace vexel
