#include "support/headless_engine.h"

#include <GL/gl.h>

#include <cstdlib>

#include <vexel/window.h>

#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"
#include "platform/window.h"

// Present only in sanitizer builds.
extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace vexel::testing {

void suspend_leak_checks() {
    if (__lsan_disable) __lsan_disable();
}

void resume_leak_checks() {
    if (__lsan_enable) __lsan_enable();
}

void full_screen_640x480() {
    const LeakCheckPause pause;
    set_screen(640, 480, 1);
}

void init_engine_headless(int32_t show_command, const char* caption) {
    setenv("VEXEL_VIDEO", "offscreen", 1);
    setenv("VEXEL_AUDIO", "null", 0);
    suspend_leak_checks();
    init_engine(show_command, caption);
    resume_leak_checks();
}

HeadlessEngine::HeadlessEngine(const CallbackEntry* callbacks, int32_t show_command,
                               const std::function<void(const ScopedTempDir&)>& before_start) {
    if (before_start) before_start(temp_);
    set_callback_table(callbacks);
    init_engine_headless(show_command, project_settings().project_name.c_str());
}

HeadlessEngine::~HeadlessEngine() {
    shutdown_engine();
}

bool HeadlessEngine::has_window() const {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return gl && gl->window;
}

uint32_t HeadlessEngine::window_id() const {
    return has_window() ? platform::window_id(platform::opengl_duderedi()->window) : 0;
}

std::string HeadlessEngine::log() const {
    return read_file(temp_.file("ErrorLog.txt"));
}

void draw_held_2d() {
    if (const auto flush = platform::render_hooks().flush_2d) flush();
}

int32_t read_pixel(int32_t x, int32_t y) {
    draw_held_2d();
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[0] | (rgba[1] << 8) | (rgba[2] << 16);
}

}  // namespace vexel::testing
