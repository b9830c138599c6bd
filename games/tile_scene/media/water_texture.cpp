#include "water_texture.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tile_media {

namespace {

// A wave over the cell: whole numbers of periods across it in x and y and over the loop, so
// every cell tiles seamlessly and phase 64 is phase 0 again.
struct Wave {
    int x_periods;
    int y_periods;
    int loop_periods;
    double amplitude;
    double shift;  // radians
};

constexpr Wave kRipples[] = {
    {1, 2, 2, 1.0, 0.0},
    {-2, 1, 3, 0.8, 1.3},
    {3, -1, -2, 0.6, 2.1},
    {1, -3, 2, 0.45, 4.0},
};

constexpr Wave kSwell[] = {
    {1, 1, 1, 1.0, 0.5},
    {-1, 2, -1, 0.7, 2.7},
};

constexpr double kTwoPi = 6.283185307179586;

double surface(const Wave* waves, size_t count, int32_t phase, int32_t x, int32_t y) {
    double sum = 0;
    double total = 0;
    for (size_t i = 0; i < count; ++i) {
        const Wave& w = waves[i];
        const double turns =
            (w.x_periods * static_cast<double>(x) + w.y_periods * static_cast<double>(y)) /
                kWaterCellSide +
            w.loop_periods * static_cast<double>(phase) / kWaterPhases;
        sum += w.amplitude * std::sin(kTwoPi * turns + w.shift);
        total += w.amplitude;
    }
    return sum / total;
}

uint8_t channel(double value) {
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

WaterCell water_cell_of_step(int32_t step) {
    const int32_t wrapped = ((step % kWaterPhases) + kWaterPhases) % kWaterPhases;
    const int32_t row_step = wrapped / kWaterCells;
    return WaterCell{wrapped % kWaterCells, (kWaterCells - row_step) % kWaterCells};
}

void water_colour(int32_t phase, int32_t x, int32_t y, uint8_t rgb[3]) {
    // Caustic lines where the ripples cross zero, over a slow swell of depth.
    const double ripple = surface(kRipples, std::size(kRipples), phase, x, y);
    const double swell = 0.5 + 0.5 * surface(kSwell, std::size(kSwell), phase, x, y);
    const double caustic = std::pow(1 - std::fabs(ripple), 6);
    rgb[0] = channel(18 + 40 * swell + 190 * caustic);
    rgb[1] = channel(70 + 60 * swell + 170 * caustic);
    rgb[2] = channel(120 + 70 * swell + 60 * caustic);
}

bool make_water_texture(vexel::ImageBuffer& picture) {
    if (!picture.size_for(kWaterSide, kWaterSide)) return false;
    for (int32_t phase = 0; phase < kWaterPhases; ++phase) {
        const WaterCell cell = water_cell_of_step(phase);
        for (int32_t y = 0; y < kWaterCellSide; ++y) {
            for (int32_t x = 0; x < kWaterCellSide; ++x) {
                uint8_t* pixel =
                    picture.pixel(cell.column * kWaterCellSide + x, cell.row * kWaterCellSide + y);
                water_colour(phase, x, y, pixel);
                pixel[3] = 255;
            }
        }
    }
    return true;
}

}  // namespace tile_media
