#include "platform/present.h"

#include <GL/gl.h>

#include <algorithm>

#include <vexel/frame.h>

#include "platform/frame_capture.h"
#include "platform/message_pump.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"
#include "platform/timer.h"
#include "platform/video.h"

namespace vexel::platform {

namespace {

constexpr double kSleepAbove = 7.0;  // ms left before the limiter sleeps at all
constexpr double kWakeEarly = 3.0;   // ms the sleep ends early, for the coarse sleep resolution
constexpr double kShowWithin = 1.0;  // ms left below which the frame is shown
// In the last milliseconds the limiter pumps messages between naps this short: the core is free
// for others, and the frame still goes out within a fraction of a millisecond of its time.
constexpr double kNapMs = 0.5;

void clear_for_next_frame(OpenGLDuderedi& gl) {
    const RenderHooks& hooks = render_hooks();
    if (hooks.has_background && hooks.draw_background && hooks.has_background()) {
        if (gl.depth_clear_pending) {
            gl.depth_clear_pending = false;
            glClear(GL_DEPTH_BUFFER_BIT);
        }
        hooks.draw_background();
        return;
    }
    GLbitfield mask = gl.clear_each_frame ? GL_COLOR_BUFFER_BIT : 0;
    if (gl.depth_clear_pending) {
        mask |= GL_DEPTH_BUFFER_BIT;
        gl.depth_clear_pending = false;
    }
    if (mask != 0) glClear(mask);
}

double wait_for_frame_time(const OpenGLDuderedi& gl, ScriptFunction hook) {
    for (;;) {
        pump_messages(hook);
        const double now = timer_ms();
        if (timer_is_fixed()) return now;
        const double remaining = gl.next_frame_time - now;
        if (remaining > kSleepAbove) {
            sleep_ms(static_cast<int32_t>(remaining - kWakeEarly));
        } else if (remaining <= kShowWithin) {
            return now;
        } else {
            nap_ms(std::min(kNapMs, remaining - kShowWithin));
        }
    }
}

}  // namespace

double next_frame_after(double next_frame_time, double present_time, double ms_per_frame) {
    if (present_time <= next_frame_time + ms_per_frame) return next_frame_time + ms_per_frame;
    if (present_time <= next_frame_time + 2 * ms_per_frame)
        return next_frame_time + 2 * ms_per_frame;
    return present_time + ms_per_frame;
}

int32_t present_frame(ScriptFunction hook, int64_t frame) {
    OpenGLDuderedi* gl = opengl_duderedi();
    if (!gl) return 1;
    // Without a window there is nothing to show, but the frame rate holds all the same: a game
    // whose window could not be made must not spin a core.
    if (gl->window) {
        if (render_hooks().flush_2d) render_hooks().flush_2d();
        if (render_hooks().end_offscreen) render_hooks().end_offscreen();
        capture_frame(frame, gl->width, gl->height);
        gl->letterbox.show(gl->window);
        clear_for_next_frame(*gl);
    }
    const double present_time = wait_for_frame_time(*gl, hook);
    // A message handled while waiting may have ended the window.
    gl = opengl_duderedi();
    if (!gl) return 1;
    if (gl->ms_per_frame > 0)
        gl->next_frame_time = next_frame_after(gl->next_frame_time, present_time, gl->ms_per_frame);
    timer_advance_frame();
    return 1;
}

}  // namespace vexel::platform
