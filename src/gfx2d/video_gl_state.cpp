#include "gfx2d/video_gl_state.h"

#include <GL/gl.h>

#include "gfx2d/draw_batch.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"

namespace vexel {

VideoGlState begin_video_drawing() {
    VideoGlState saved;
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (!gl || !gl->window) return saved;
    flush_2d_batch();  // what the game drew before the video comes first
    if (platform::render_hooks().end_offscreen) platform::render_hooks().end_offscreen();
    glGetFloatv(GL_COLOR_CLEAR_VALUE, saved.clear_colour);
    gl->reset_gl_state();
    platform::gl_disable(GL_ALPHA_TEST);
    return saved;
}

void end_video_drawing(const VideoGlState& saved) {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (!gl || !gl->window) return;
    const float* c = saved.clear_colour;
    glClearColor(c[0], c[1], c[2], c[3]);
    gl->reset_gl_state();
}

}  // namespace vexel
