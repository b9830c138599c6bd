// Vexel — text commands. Positions are 0-based byte offsets; each command returns a new text
// unless it says "in place"; out-of-range positions give empty text or -1, never an error.
// Commands work on a text's length() bytes, so zero bytes inside a DynString take part.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Substrings and case
//------------------------------------------------------------------------------------------------

// count bytes from start (a negative count: to the end); empty when start is outside the text.
DynString mid(const DynString& s, int32_t start, int32_t count);
// s without its leading bytes that occur in set; an empty set leaves s unchanged.
DynString trim_left(const DynString& s, const DynString& set);
// s without its trailing bytes that occur in set; an empty set leaves s unchanged.
DynString trim_right(const DynString& s, const DynString& set);
DynString upper(const DynString& s);  // each byte through the C library's toupper
DynString lower(const DynString& s);  // each byte through the C library's tolower
void upper_in_place(DynString& s);    // upper, on the string's own bytes
void lower_in_place(DynString& s);    // lower, on the string's own bytes

//------------------------------------------------------------------------------------------------
// Search and replace
//------------------------------------------------------------------------------------------------

// Offset of the first needle at or after start (a negative start counts as 0), or -1; -1 for
// an empty needle or a start at or past the end.
int32_t find(const DynString& s, const DynString& needle, int32_t start);
// Offset of the last needle that begins at or before start, or -1; a negative start means
// length(s) - length(needle).
int32_t find_last(const DynString& s, const DynString& needle, int32_t start);
// Every target, left to right, replaced; inserted text is never searched again. A result too
// long for a text gives empty text and last error 7.
DynString replace_all(const DynString& s, const DynString& target, const DynString& replacement);
// Position of the first byte of text that occurs in set, or -1.
int32_t find_first_of(const DynString& text, const DynString& set);
// Position of the first byte of text that does not occur in set, or -1.
int32_t find_first_not_of(const DynString& text, const DynString& set);

//------------------------------------------------------------------------------------------------
// Hexadecimal
//------------------------------------------------------------------------------------------------

// Two digits per byte, high nibble first, upper or lower case; a count of 0 gives empty text.
DynString hex_encode(const void* bytes, uint32_t count, bool upper);
// hi * 16 + lo for two hex digit characters of either case (other characters count as 0).
int32_t hex_pair_value(char hi, char lo);

//------------------------------------------------------------------------------------------------
// URL and UTF-8
//------------------------------------------------------------------------------------------------

// Letters and digits kept, bytes of 128 and above as two UTF-8 escapes ("%c3%a9"), every other
// byte as "%xx" in lower-case hex. A result too long for a text gives empty text and last error 7.
DynString url_encode(const DynString& s);
// '+' as space, "%xx" as its byte, a broken escape dropped; the result then goes through
// utf8_to_8bit.
DynString url_decode(const DynString& s);
// In place: two- and three-byte UTF-8 sequences become their code point's byte (a space above
// 255); truncated sequences and other bytes of 128 and above are dropped.
void utf8_to_8bit(DynString& s);

//------------------------------------------------------------------------------------------------
// Numbers as text
//------------------------------------------------------------------------------------------------

// The value formatted as "%<width>.<decimals>f" (integer parts of both); width 8 and decimals 2
// give "%8.2f", width -8 gives "%-8.2f" (left-aligned). Widths and decimal counts are clamped so
// that the text stays within 1024 bytes.
DynString format_number(double width, double decimals, double value);
int32_t number_text_length(double value);   // length of number_to_text(value)
int32_t number_text_length(int32_t value);  // length of number_to_text(value)

//------------------------------------------------------------------------------------------------
// Errors
//------------------------------------------------------------------------------------------------

// The last error as "%.4d %s": "0000 success", "0003 no such file", "0007 out of memory",
// "0009 out of bounds", "0020 out of data", any other code "unknown error".
DynString last_error_text();

}  // namespace vexel
