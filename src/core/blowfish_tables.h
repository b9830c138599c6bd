// Internal: the Blowfish start state, the hexadecimal digits of pi. The definitions are generated
// at build time from core/data/blowfish_pi_words.txt.
#pragma once

#include <cstdint>

namespace vexel {

extern const uint32_t kBlowfishInitialP[18];
extern const uint32_t kBlowfishInitialS[4][256];

}  // namespace vexel
