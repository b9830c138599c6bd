// The scene's animated water: an 8 x 8 grid of 64 x 64 cells, each a seamless tile of the same
// water surface at one of 64 phases of a loop.
#pragma once

#include <cstdint>

#include "image/image_buffer.h"

namespace tile_media {

inline constexpr int32_t kWaterCells = 8;      // cells across and down
inline constexpr int32_t kWaterCellSide = 64;  // pixels
inline constexpr int32_t kWaterSide = kWaterCells * kWaterCellSide;
inline constexpr int32_t kWaterPhases = kWaterCells * kWaterCells;

struct WaterCell {
    int32_t column;  // from the left
    int32_t row;     // from the top of the picture
};

// The cell the scene shows after `step` moves of its texture offset (0 ... 63). The offset walks
// u across a row, then moves v on by one cell; it is added to the stored v, which is the negated
// v the tile was given, so from the top row the walk goes up the picture: rows 0, 7, 6, ... 1.
WaterCell water_cell_of_step(int32_t step);

// Brightness-shaded water of the given phase (0 ... 63) at pixel (x, y) of a cell, as R, G, B.
// Periodic over the cell in x and y and over the 64 phases.
void water_colour(int32_t phase, int32_t x, int32_t y, uint8_t rgb[3]);

// Fills the 512 x 512 picture, every pixel opaque, phase k in water_cell_of_step(k).
bool make_water_texture(vexel::ImageBuffer& picture);

}  // namespace tile_media
