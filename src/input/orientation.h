// Internal: window coordinates and directions turned into the script's (and back) for a screen
// turned by 0, 90, 180 or 270 degrees. W and H are the window's client size.
#pragma once

#include <cstdint>

namespace vexel {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// Window position -> script position; orientations other than 1..3 count as 0.
Point map_position(Point window, int32_t orientation, int32_t w, int32_t h);
// Script position -> window position; the inverse of map_position.
Point unmap_position(Point script, int32_t orientation, int32_t w, int32_t h);
// A motion in the window -> the same motion as the script sees it on the turned screen.
Point map_direction(Point motion, int32_t orientation);

// The engine window's orientation and client size, all 0 without a window.
struct ScreenFrame {
    int32_t orientation = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t script_width() const { return orientation % 2 ? height : width; }
    int32_t script_height() const { return orientation % 2 ? width : height; }
};
ScreenFrame screen_frame();

}  // namespace vexel
