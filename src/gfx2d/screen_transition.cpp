#include <vexel/archive.h>
#include <vexel/draw.h>
#include <vexel/error.h>
#include <vexel/frame.h>

#include "app/failure_report.h"
#include "gfx2d/background_draw.h"
#include "gfx2d/backgrounds.h"
#include "gfx2d/render_context.h"
#include "platform/opengl_duderedi.h"
#include "platform/present.h"

namespace vexel {

namespace {

constexpr int32_t kOldScreen = 2;
constexpr int32_t kNewPicture = 1;
constexpr double kFirstOldAlpha = 0.9;

void fail_to_black(platform::OpenGLDuderedi& gl) {
    set_error(3);
    remove_background(kNewPicture);
    remove_background(kOldScreen);
    remove_background(0);
    gl.set_clear_colour(0);
}

}  // namespace

void screen_transition(const DynString& file, int32_t milliseconds) {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (!gl || !gl_ready()) return;
    set_error(0);
    DynString path;
    ImageFailure why = ImageFailure::kNotFound;
    const bool found = resolve_name(file, path, true);
    if (found) copy_screen_to_background(kOldScreen);
    if (!found || !load_background_file(kNewPicture, path.c_str(), &why)) {
        log_load_failure("screen_transition", file.c_str(), image_failure_reason(why));
        fail_to_black(*gl);
        return;
    }
    remove_background(0);
    // The old screen fades from 0.9 towards 0 while the new picture fades in over it with the
    // complementary alpha. At most one step per millisecond: a clock held still (a fixed frame
    // time of 0) must not keep the fade going for ever.
    const double start = timer_ms();
    int32_t steps = 0;
    for (double elapsed = 0; elapsed < milliseconds && steps < milliseconds;
         elapsed = timer_ms() - start, ++steps) {
        const double old_alpha = kFirstOldAlpha * (1.0 - elapsed / milliseconds);
        draw_background(kOldScreen);
        blend_background(kNewPicture, static_cast<float>(1.0 - old_alpha));
        platform::present_frame(nullptr);
        gl = platform::opengl_duderedi();
        if (!gl || !gl_ready()) return;
        gl->reset_after_present();
    }
    draw_background(kNewPicture);
    copy_screen_to_background(0);
    remove_background(kNewPicture);
    remove_background(kOldScreen);
}

}  // namespace vexel
