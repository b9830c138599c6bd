#include <cstdint>

#include <vexel/error.h>
#include <vexel/text.h>

#include "core/text_limits.h"

namespace vexel {

namespace {

constexpr char kLowerHex[] = "0123456789abcdef";

bool is_alphanumeric(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool is_hex_digit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool is_continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

char* write_escape(char* out, unsigned char byte) {
    *out++ = '%';
    *out++ = kLowerHex[byte >> 4];
    *out++ = kLowerHex[byte & 15];
    return out;
}

uint32_t encoded_size(unsigned char c) {
    if (is_alphanumeric(c)) return 1;
    return c >= 128 ? 6 : 3;
}

}  // namespace

DynString url_encode(const DynString& s) {
    const auto* in = reinterpret_cast<const unsigned char*>(s.c_str());
    uint64_t size = 0;
    for (uint32_t i = 0; i < s.length(); ++i)
        size += encoded_size(in[i]);
    DynString result;
    if (size > kMaxTextLength) {
        set_error(7);
        return result;
    }
    if (size == 0) return result;
    char* const start = result.buffer(static_cast<uint32_t>(size));
    char* out = start;
    for (uint32_t i = 0; i < s.length(); ++i) {
        const unsigned char c = in[i];
        if (is_alphanumeric(c)) {
            *out++ = static_cast<char>(c);
        } else if (c >= 128) {
            // The byte read as a Latin-1 code point, written as its two-byte UTF-8 form.
            out = write_escape(out, c >= 192 ? 0xC3 : 0xC2);
            out = write_escape(out, static_cast<unsigned char>((c & 0x3F) + 0x80));
        } else {
            out = write_escape(out, c);
        }
    }
    *out = 0;
    result.sync_length();  // every byte was written as text, so the first zero is the end
    return result;
}

DynString url_decode(const DynString& s) {
    // Decoding never lengthens the text, so it runs in place over a copy.
    DynString result(s);
    if (result.empty()) return result;
    const auto* in = reinterpret_cast<const unsigned char*>(s.c_str());
    char* out = result.data();
    const uint32_t length = s.length();
    uint32_t written = 0;
    for (uint32_t i = 0; i < length;) {
        const unsigned char c = in[i];
        if (c == '+') {
            out[written++] = ' ';
            ++i;
        } else if (c != '%') {
            out[written++] = static_cast<char>(c);
            ++i;
        } else if (i + 1 < length && is_hex_digit(in[i + 1])) {
            if (i + 2 < length && is_hex_digit(in[i + 2])) {
                out[written++] = static_cast<char>(hex_pair_value(in[i + 1], in[i + 2]));
                i += 3;
            } else {
                i += 2;  // the '%' and its single digit; what follows is read as usual
            }
        } else {
            i += 2;  // the '%' and the character after it, or just the '%' at the very end
        }
    }
    result.truncate(static_cast<int32_t>(written));
    utf8_to_8bit(result);
    return result;
}

void utf8_to_8bit(DynString& s) {
    if (s.empty()) return;  // an empty text keeps the shared buffer
    auto* bytes = reinterpret_cast<unsigned char*>(s.data());
    const uint32_t length = s.length();
    uint32_t written = 0;
    for (uint32_t i = 0; i < length;) {
        const unsigned char c = bytes[i];
        if (c < 128) {
            bytes[written++] = c;
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < length && is_continuation(bytes[i + 1])) {
            const uint32_t code = (c & 0x1Fu) << 6 | (bytes[i + 1] & 0x3Fu);
            bytes[written++] = code < 256 ? static_cast<unsigned char>(code) : ' ';
            i += 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < length && is_continuation(bytes[i + 1]) &&
                   is_continuation(bytes[i + 2])) {
            const uint32_t code =
                (c & 0x0Fu) << 12 | (bytes[i + 1] & 0x3Fu) << 6 | (bytes[i + 2] & 0x3Fu);
            bytes[written++] = code < 256 ? static_cast<unsigned char>(code) : ' ';
            i += 3;
        } else {
            // A lead byte without its whole sequence, or a stray byte of 128 or more.
            ++i;
        }
    }
    s.truncate(static_cast<int32_t>(written));
}

}  // namespace vexel
