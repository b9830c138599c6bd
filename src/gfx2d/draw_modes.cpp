#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include <vexel/draw.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

void set_alpha_mode(double a) {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (!gl || !gl_ready()) return;
    flush_2d_batch();
    // A NaN counts as 0: nothing in it asks for blending.
    if (a > 0) {
        platform::gl_enable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    } else if (a < 0) {
        platform::gl_enable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        platform::gl_disable(GL_BLEND);
    }
    gl->global_alpha = a > 0 || a < 0 ? static_cast<float>(std::min(std::fabs(a), 1.0)) : 1.0f;
    restore_2d_colour();
}

void set_alpha_test(double t) {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (!gl || !gl_ready()) return;
    flush_2d_batch();
    // NaN, like everything from 1 up, leaves the test off (apply_alpha_test asks for below 1).
    gl->alpha_test_threshold = static_cast<float>(t);
    apply_alpha_test();
}

void set_smoothing(bool on) {
    if (platform::OpenGLDuderedi* gl = platform::opengl_duderedi()) gl->smoothing = on;
}

}  // namespace vexel
