#include "support/headless_engine.h"

#include <GL/gl.h>

#include <cstdlib>

#include "platform/opengl_duderedi.h"
#include "platform/window.h"

namespace vexel::testing {

HeadlessEngine::HeadlessEngine(const CallbackEntry* callbacks, int32_t show_command,
                               const std::function<void(const ScopedTempDir&)>& before_start) {
    setenv("VEXEL_VIDEO", "offscreen", 1);
    if (before_start) before_start(temp_);
    set_callback_table(callbacks);
    init_engine(show_command, project_settings().project_name.c_str());
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

int32_t read_pixel(int32_t x, int32_t y) {
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return rgba[0] | (rgba[1] << 8) | (rgba[2] << 16);
}

}  // namespace vexel::testing
