// Internal to core: the longest text a command may build.
#pragma once

#include <cstdint>

namespace vexel {

// Lengths are 32-bit and capacity rounds up to the next 16 bytes; anything longer than this
// would wrap. Commands that grow text check their result against it before allocating.
constexpr uint64_t kMaxTextLength = UINT32_MAX - 32;

}  // namespace vexel
