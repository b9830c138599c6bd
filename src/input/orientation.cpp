#include "input/orientation.h"

#include "platform/opengl_duderedi.h"

namespace vexel {

Point map_position(Point p, int32_t orientation, int32_t w, int32_t h) {
    switch (orientation) {
        case 1:
            return {p.y, w - 1 - p.x};
        case 2:
            return {w - 1 - p.x, h - 1 - p.y};
        case 3:
            return {h - 1 - p.y, p.x};
        default:
            return p;
    }
}

Point unmap_position(Point p, int32_t orientation, int32_t w, int32_t h) {
    switch (orientation) {
        case 1:
            return {w - 1 - p.y, p.x};
        case 2:
            return {w - 1 - p.x, h - 1 - p.y};
        case 3:
            return {p.y, h - 1 - p.x};
        default:
            return p;
    }
}

// The turn of map_position without its offsets, so that a motion and the change of position it
// causes always agree.
Point map_direction(Point d, int32_t orientation) {
    switch (orientation) {
        case 1:
            return {d.y, -d.x};
        case 2:
            return {-d.x, -d.y};
        case 3:
            return {-d.y, d.x};
        default:
            return d;
    }
}

ScreenFrame screen_frame() {
    ScreenFrame frame;
    if (const platform::OpenGLDuderedi* gl = platform::opengl_duderedi(); gl && gl->window) {
        frame.orientation = gl->orientation >= 0 && gl->orientation <= 3 ? gl->orientation : 0;
        frame.width = gl->width;
        frame.height = gl->height;
    }
    return frame;
}

}  // namespace vexel
