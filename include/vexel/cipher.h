// Vexel — text encryption: Blowfish in ECB mode, the cipher text carried as hexadecimal.
#pragma once

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Cipher
//------------------------------------------------------------------------------------------------

// The text's bytes in 8-byte blocks (each block two little-endian words, left half first), the
// last one padded with zero bytes, as lower-case hex: 16 digits per block. An empty key gives "".
DynString encrypt(const DynString& key, const DynString& text);
// Hex digits of either case decoded pairwise (a lone last digit is ignored, other characters
// count as 0), decrypted block by block (a partial last block is zero-filled), cut at the first
// zero byte. The hex text is not modified. An empty key gives "".
DynString decrypt(const DynString& key, const DynString& hex);

}  // namespace vexel
