#include "gfx2d/render_context.h"

#include <GL/gl.h>

#include "gfx2d/draw_batch.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"

namespace vexel {

bool gl_ready() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return gl && gl->window && gl->gl_context;
}

RenderContext render_context() {
    RenderContext context;
    if (const platform::OpenGLDuderedi* gl = platform::opengl_duderedi(); gl && gl->window) {
        context.width = gl->width;
        context.height = gl->height;
        context.orientation = gl->orientation >= 0 && gl->orientation <= 3 ? gl->orientation : 0;
        context.bgra_supported = gl->bgra_supported;
        // Drawing into an offscreen surface: its framebuffer is the one read, never turned.
        const platform::RenderHooks& hooks = platform::render_hooks();
        int32_t surface_width = 0;
        int32_t surface_height = 0;
        if (gl->render_target >= 0 && hooks.surface_size &&
            hooks.surface_size(gl->render_target, &surface_width, &surface_height)) {
            context.width = surface_width;
            context.height = surface_height;
            context.orientation = 0;
        }
    }
    return context;
}

void script_screen_size(int32_t* width, int32_t* height) {
    const RenderContext context = render_context();
    const bool turned = context.orientation == 1 || context.orientation == 3;
    *width = turned ? context.height : context.width;
    *height = turned ? context.width : context.height;
}

int32_t max_texture_size() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? size : 64;
}

int32_t framebuffer_alpha_bits() {
    static const int32_t bits = [] {
        GLint value = 0;
        glGetIntegerv(GL_ALPHA_BITS, &value);
        return static_cast<int32_t>(value);
    }();
    return bits;
}

void set_upload_pixel_store() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

void bind_texture_for_upload(uint32_t name, bool nearest) {
    flush_2d_batch();
    forget_2d_texture_parameters();
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

uint32_t new_bound_texture(bool nearest) {
    GLuint name = 0;
    glGenTextures(1, &name);
    bind_texture_for_upload(name, nearest);
    return name;
}

}  // namespace vexel
