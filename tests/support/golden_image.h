// Whole-frame checks against the pictures kept in tests/golden/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexel::testing {

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;  // rows top first
};

// A PNG file as RGBA, or false when it cannot be read.
bool read_picture(const std::string& path, Picture& picture);

// How closely a frame must match its golden picture. Software rasterisers differ in the last
// bits of lighting and blending and in which pixels an edge covers, so a few pixels may be off.
struct GoldenTolerance {
    int channel = 8;                  // largest difference of R, G or B that counts as equal
    double outlier_fraction = 0.005;  // share of pixels allowed beyond that
};

// Empty when the PNG at actual matches tests/golden/<name> within the tolerance; otherwise what
// differs. With VEXEL_UPDATE_GOLDEN=1 the golden is replaced by the actual picture instead (the
// way to refresh goldens after a change that was looked at and found right).
std::string compare_with_golden(const std::string& actual, const std::string& name,
                                const GoldenTolerance& tolerance = {});

// Pixels whose R, G or B differ at all within the rectangle [x0, x1) x [y0, y1) (top-left
// origin, clipped to both pictures); -1 when the sizes differ.
int64_t changed_pixels(const Picture& a, const Picture& b, uint32_t x0, uint32_t y0, uint32_t x1,
                       uint32_t y1);

}  // namespace vexel::testing
