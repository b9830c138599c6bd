// The script commands over the engine window; each does nothing while there is no window.
#include <cmath>
#include <limits>

#include <vexel/frame.h>
#include <vexel/window.h>

#include "platform/opengl_duderedi.h"

namespace vexel {

using platform::opengl_duderedi;
using platform::OpenGLDuderedi;

int32_t is_fullscreen_mode() {
    const OpenGLDuderedi* gl = opengl_duderedi();
    return gl && gl->is_fullscreen ? 1 : 0;
}

int32_t hide_window() {
    if (OpenGLDuderedi* gl = opengl_duderedi()) return gl->hide_window();
    return 1;
}

void get_desktop_size(double& width, double& height) {
    int32_t w = 0;
    int32_t h = 0;
    platform::remembered_desktop_size(&w, &h);
    width = w;
    height = h;
}

void reset_gl_state() {
    if (OpenGLDuderedi* gl = opengl_duderedi(); gl && gl->window) gl->reset_gl_state();
}

void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height) {
    if (OpenGLDuderedi* gl = opengl_duderedi(); gl && gl->window)
        gl->set_viewport(x, y, width, height);
}

void set_clear_colour(int32_t colour) {
    if (OpenGLDuderedi* gl = opengl_duderedi(); gl && gl->window) gl->set_clear_colour(colour);
}

void limit_fps(double frames_per_second) {
    OpenGLDuderedi* gl = opengl_duderedi();
    if (!gl) return;
    // Values beyond the integer range (and NaN) clamp instead of overflowing the conversion.
    int32_t fps = 0;
    if (frames_per_second >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        fps = std::numeric_limits<int32_t>::max();
    } else if (frames_per_second > static_cast<double>(std::numeric_limits<int32_t>::min())) {
        fps = static_cast<int32_t>(std::trunc(frames_per_second));
    }
    gl->set_frame_rate(fps);
}

}  // namespace vexel
