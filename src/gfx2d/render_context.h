// Internal: what the texture store needs to know about the window's GL context, read from
// OpenGLDuderedi, and the GL settings every texture upload shares.
#pragma once

#include <cstdint>

namespace vexel {

struct RenderContext {
    int32_t width = 0;  // of the framebuffer drawn to (window or offscreen surface), in pixels
    int32_t height = 0;
    int32_t orientation = 0;  // 0..3: the script's screen turned by 0, 90, 180 or 270 degrees
    bool bgra_supported = false;
};

// True while the engine has a window with its context (current on this thread); every GL call
// of the texture store waits for it.
bool gl_ready();
// The window's state; all zero without a window.
RenderContext render_context();
// The screen as the script sees it: the window's size, sides exchanged for orientations 1, 3.
void script_screen_size(int32_t* width, int32_t* height);

// GL_MAX_TEXTURE_SIZE.
int32_t max_texture_size();
// Alpha bits of the window's framebuffer, asked once per process.
int32_t framebuffer_alpha_bits();
// Unpack alignment 4, row length, skip rows and skip pixels 0.
void set_upload_pixel_store();
// Binds the name to GL_TEXTURE_2D with repeat wrapping and nearest or linear filters.
void bind_texture_for_upload(uint32_t name, bool nearest);
// The same for a newly generated name.
uint32_t new_bound_texture(bool nearest);

}  // namespace vexel
