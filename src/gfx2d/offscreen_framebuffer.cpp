// Framebuffer objects behind offscreen surfaces, through the EXT entry points fetched by name.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include <vexel/error.h>

#include "gfx2d/offscreen_surfaces.h"
#include "gfx2d/render_context.h"
#include "platform/gl_extensions.h"

namespace vexel {

namespace {

OffscreenState g_state;

void log_line(const char* format, int32_t a, int32_t b = 0) {
    char line[96];
    std::snprintf(line, sizeof line, format, a, b);
    append_error_log(line);
}

GLint current_binding() {
    GLint binding = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &binding);
    return binding;
}

void drain_gl_errors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// Depth storage of 24 bits, else 32, else 16, as the driver accepts.
void allocate_depth(const platform::GlExtensionProcs& gl, int32_t w, int32_t h) {
    drain_gl_errors();
    gl.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, w, h);
    if (glGetError() != GL_INVALID_ENUM) return;
    append_error_log("depth 24 failed, try 32\n");
    gl.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT32, w, h);
    if (glGetError() != GL_INVALID_ENUM) return;
    append_error_log("depth 32 failed, try 16\n");
    gl.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT16, w, h);
}

}  // namespace

OffscreenState& offscreen_state() {
    return g_state;
}

OffscreenSurface* offscreen_surface(int32_t n) {
    if (n < 0 || n >= kOffscreenSurfaceCount) return nullptr;
    return &g_state.surfaces[size_t(n)];
}

void load_framebuffer_functions() {
    g_state.framebuffers_available = platform::fetch_framebuffer_procs();
    if (!g_state.framebuffers_available) append_error_log("can't use framebuffer object\n");
}

void release_framebuffer(OffscreenSurface& surface) {
    const platform::GlExtensionProcs& gl = platform::gl_extension_procs();
    if (gl_ready()) {
        if (surface.saved_binding >= 0 && gl.glBindFramebufferEXT)
            gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(surface.saved_binding));
        if (surface.framebuffer != 0 && gl.glDeleteFramebuffersEXT) {
            const GLuint name = surface.framebuffer;
            gl.glDeleteFramebuffersEXT(1, &name);
        }
        if (surface.depth_buffer != 0 && gl.glDeleteRenderbuffersEXT) {
            const GLuint name = surface.depth_buffer;
            gl.glDeleteRenderbuffersEXT(1, &name);
        }
    }
    surface = OffscreenSurface{};
}

bool create_framebuffer(int32_t n, int32_t w, int32_t h, uint32_t texture, bool with_depth) {
    OffscreenSurface* surface = offscreen_surface(n);
    if (!surface) return false;
    release_framebuffer(*surface);
    if (w < 1 || h < 1) {
        log_line("can't create FBO for neg dims %dx%d\n", w, h);
        return false;
    }
    const platform::GlExtensionProcs& gl = platform::gl_extension_procs();
    if (!gl_ready() || !gl.glGenFramebuffersEXT || !gl.glBindFramebufferEXT ||
        !gl.glGenRenderbuffersEXT || !gl.glBindRenderbufferEXT || !gl.glRenderbufferStorageEXT ||
        !gl.glCheckFramebufferStatusEXT || !gl.glFramebufferTexture2DEXT ||
        !gl.glFramebufferRenderbufferEXT)
        return false;

    GLuint framebuffer = 0;
    gl.glGenFramebuffersEXT(1, &framebuffer);
    if (framebuffer == 0) {
        append_error_log("glGenFramebuffersExt failed\n");
        return false;
    }
    surface->framebuffer = framebuffer;
    surface->saved_binding = current_binding();
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);

    if (with_depth) {
        GLuint depth = 0;
        gl.glGenRenderbuffersEXT(1, &depth);
        if (depth == 0) {
            append_error_log("glGenRenderbuffersExt failed\n");
            release_framebuffer(*surface);
            return false;
        }
        surface->depth_buffer = depth;
        gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth);
        allocate_depth(gl, w, h);
        gl.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                        GL_RENDERBUFFER_EXT, depth);
    }
    gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                 texture, 0);

    const GLenum status = gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
        log_line("glBindRenderbufferExt failed %x\n", int32_t(status));
        release_framebuffer(*surface);
        return false;
    }
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(surface->saved_binding));
    surface->saved_binding = -1;
    surface->width = w;
    surface->height = h;
    return true;
}

}  // namespace vexel
