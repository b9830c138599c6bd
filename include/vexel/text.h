// Vexel — text commands. Positions are 0-based byte offsets; each command returns a new text
// unless it says "in place"; out-of-range positions give empty text or -1, never an error.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Hexadecimal
//------------------------------------------------------------------------------------------------

// Two digits per byte, high nibble first, upper or lower case; a count of 0 gives empty text.
DynString hex_encode(const void* bytes, uint32_t count, bool upper);
// hi * 16 + lo for two hex digit characters of either case (other characters count as 0).
int32_t hex_pair_value(char hi, char lo);

//------------------------------------------------------------------------------------------------
// Numbers as text
//------------------------------------------------------------------------------------------------

// The value formatted as "%<width>.<decimals>f" (integer parts of both); width 8 and decimals 2
// give "%8.2f". Widths and decimal counts are clamped so that the text stays within 1024 bytes.
DynString format_number(double width, double decimals, double value);

}  // namespace vexel
