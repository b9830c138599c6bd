// Internal: the script's eight file channels.
#pragma once

#include <cstdint>

namespace vexel {

inline constexpr int32_t kChannelCount = 8;

class FileStream;

// The stream behind a channel number, or null outside 0..7.
FileStream* channel_stream(int32_t channel);
// Closes every channel (the shutdown path does this once).
void close_every_channel();

}  // namespace vexel
