// Internal: the window's back buffer written to a PNG file (the present step's captures).
#pragma once

#include <cstdint>

namespace vexel {

// Reads width x height pixels of the window's back buffer, rows turned top to bottom with alpha
// made opaque, and writes them as 8-bit RGBA PNG through the engine's encoder. False without a
// context, for sizes outside the picture limits or when the file cannot be written.
bool save_back_buffer(const char* file, int32_t width, int32_t height);

}  // namespace vexel
