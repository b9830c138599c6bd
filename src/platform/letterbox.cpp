#include "platform/letterbox.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/gl_context.h"

namespace vexel::platform {

// Framebuffer objects and blits as OpenGL 3.0 (or GL_ARB_framebuffer_object) has them; these
// are independent of the offscreen surfaces' entry points, which VEXEL_NO_FBO may hide.
struct Letterbox::Procs {
    PFNGLGENFRAMEBUFFERSPROC gen_framebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC delete_framebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check_framebuffer_status = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebuffer_renderbuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC gen_renderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC delete_renderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bind_renderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbuffer_storage = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebuffer_texture_2d = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blit_framebuffer = nullptr;
    PFNGLACTIVETEXTUREPROC active_texture = nullptr;
    PFNGLUSEPROGRAMPROC use_program = nullptr;

    template <typename Proc>
    static bool fetch(Proc& slot, const char* name) {
        slot = reinterpret_cast<Proc>(gl_offered_proc_address(name));
        return slot != nullptr;
    }

    // True when the current context offers all of them.
    bool fetch_all() {
        // Each fetch runs, so that no entry is left over from an earlier context.
        const bool found[] = {
            fetch(gen_framebuffers, "glGenFramebuffers"),
            fetch(delete_framebuffers, "glDeleteFramebuffers"),
            fetch(bind_framebuffer, "glBindFramebuffer"),
            fetch(check_framebuffer_status, "glCheckFramebufferStatus"),
            fetch(framebuffer_renderbuffer, "glFramebufferRenderbuffer"),
            fetch(gen_renderbuffers, "glGenRenderbuffers"),
            fetch(delete_renderbuffers, "glDeleteRenderbuffers"),
            fetch(bind_renderbuffer, "glBindRenderbuffer"),
            fetch(renderbuffer_storage, "glRenderbufferStorage"),
            fetch(framebuffer_texture_2d, "glFramebufferTexture2D"),
            fetch(blit_framebuffer, "glBlitFramebuffer"),
            fetch(active_texture, "glActiveTexture"),
            fetch(use_program, "glUseProgram"),
        };
        for (const bool one : found)
            if (!one) return false;
        return true;
    }
};

namespace {

// The picture on a multisampled window: a blit cannot scale into it, so a quad textured with the
// game's picture is drawn, with every state that could change the draw saved and switched off.
void draw_picture(const LetterboxLayout& at, int32_t screen_height) {
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_COLOR_LOGIC_OP);
    glDisable(GL_POLYGON_STIPPLE);
    glDisable(GL_SAMPLE_ALPHA_TO_COVERAGE);
    GLint clip_planes = 0;
    glGetIntegerv(GL_MAX_CLIP_PLANES, &clip_planes);
    for (GLint plane = 0; plane < clip_planes; ++plane)
        glDisable(static_cast<GLenum>(GL_CLIP_PLANE0 + plane));
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glViewport(at.left, screen_height - at.top - at.height, at.width, at.height);
    for (const GLenum stack : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(stack);
        glPushMatrix();
        glLoadIdentity();
    }
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(-1, 1);
    glEnd();
    for (const GLenum stack : {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE}) {
        glMatrixMode(stack);
        glPopMatrix();
    }
}

}  // namespace

Letterbox::Letterbox() : procs_(std::make_unique<Procs>()) {}

Letterbox::~Letterbox() = default;

bool Letterbox::begin(int32_t width, int32_t height) {
    end();
    if (width <= 0 || height <= 0 || !procs_->fetch_all()) return false;
    const Procs& gl = *procs_;
    GLint limit = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limit);
    if (width > limit || height > limit) return false;
    // Blending with the destination's alpha must see what it sees on the window.
    GLint alpha_bits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alpha_bits);
    GLint sample_buffers = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sample_buffers);

    GLint bound_texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound_texture);
    GLuint colour = 0;
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, alpha_bits > 0 ? GL_RGBA8 : GL_RGB8, width, height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound_texture));

    GLint bound_renderbuffer = 0;
    glGetIntegerv(GL_RENDERBUFFER_BINDING, &bound_renderbuffer);
    GLuint depth_stencil = 0;
    gl.gen_renderbuffers(1, &depth_stencil);
    gl.bind_renderbuffer(GL_RENDERBUFFER, depth_stencil);
    gl.renderbuffer_storage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    gl.bind_renderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(bound_renderbuffer));

    GLuint framebuffer = 0;
    gl.gen_framebuffers(1, &framebuffer);
    gl.bind_framebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.framebuffer_texture_2d(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    gl.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                depth_stencil);
    gl.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                depth_stencil);
    if (gl.check_framebuffer_status(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        gl.bind_framebuffer(GL_FRAMEBUFFER, 0);
        gl.delete_framebuffers(1, &framebuffer);
        gl.delete_renderbuffers(1, &depth_stencil);
        glDeleteTextures(1, &colour);
        return false;
    }
    framebuffer_ = framebuffer;
    colour_ = colour;
    depth_stencil_ = depth_stencil;
    multisampled_window_ = sample_buffers > 0;
    width_ = width;
    height_ = height;
    motion_.reset();

    // A new window starts black; so does the game's screen.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
                 GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(~0u);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glPopAttrib();
    return true;
}

void Letterbox::end() {
    if (!active()) return;
    const Procs& gl = *procs_;
    gl.bind_framebuffer(GL_FRAMEBUFFER, 0);
    gl.delete_framebuffers(1, &framebuffer_);
    gl.delete_renderbuffers(1, &depth_stencil_);
    glDeleteTextures(1, &colour_);
    framebuffer_ = colour_ = depth_stencil_ = 0;
    width_ = height_ = 0;
}

void Letterbox::bind() const {
    if (active()) procs_->bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
}

uint32_t Letterbox::read_buffer() const {
    return active() ? GL_COLOR_ATTACHMENT0 : GL_BACK;
}

void Letterbox::show(NativeWindow* window) {
    if (active()) put_picture_on(window);
    gl_swap_buffers(window);
}

void Letterbox::put_picture_on(NativeWindow* window) {
    int32_t screen_w = 0;
    int32_t screen_h = 0;
    window_drawable_size(window, &screen_w, &screen_h);
    const LetterboxLayout at = letterbox_layout(width_, height_, screen_w, screen_h);
    const GLint filter = scales_by_whole_pixels(at) ? GL_NEAREST : GL_LINEAR;
    const Procs& gl = *procs_;
    GLint program = 0;
    GLint unit = GL_TEXTURE0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    // The attributes are saved and restored with the game's framebuffer bound: its draw buffer
    // is among them, and the window's must not receive it.
    gl.bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    gl.use_program(0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    gl.bind_framebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    if (at.width > 0 && !multisampled_window_) {
        const GLint bottom = screen_h - at.top - at.height;
        gl.blit_framebuffer(0, 0, width_, height_, at.left, bottom, at.left + at.width,
                            bottom + at.height, GL_COLOR_BUFFER_BIT, static_cast<GLenum>(filter));
    } else if (at.width > 0) {
        draw_as_texture(at, screen_h, filter);
    }
    gl.bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
    glPopAttrib();
    gl.active_texture(static_cast<GLenum>(unit));
    gl.use_program(static_cast<GLuint>(program));
}

// A multisampled window takes no scaled blit: the picture goes on as a textured square, with
// every other texture target and unit off (the caller saved and restores the state).
void Letterbox::draw_as_texture(const LetterboxLayout& at, int32_t screen_h, int32_t filter) const {
    const Procs& gl = *procs_;
    GLint units = 1;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
    for (GLint other = units - 1; other > 0; --other) {
        gl.active_texture(static_cast<GLenum>(GL_TEXTURE0 + other));
        for (const GLenum target :
             {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_GEN_S,
              GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
            glDisable(target);
    }
    gl.active_texture(GL_TEXTURE0);
    for (const GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_GEN_S,
                                GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
        glDisable(target);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, colour_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    draw_picture(at, screen_h);
}

LetterboxLayout Letterbox::layout(const NativeWindow* window) const {
    if (!active() || !window) return {};
    int32_t screen_w = 0;
    int32_t screen_h = 0;
    window_size(window, &screen_w, &screen_h);
    return letterbox_layout(width_, height_, screen_w, screen_h);
}

void Letterbox::position_to_game(const NativeWindow* window, int32_t* x, int32_t* y) const {
    screen_to_game(layout(window), x, y);
}

void Letterbox::motion_to_game(const NativeWindow* window, int32_t* dx, int32_t* dy) {
    motion_.scale(layout(window), dx, dy);
}

void Letterbox::position_to_screen(const NativeWindow* window, int32_t* x, int32_t* y) const {
    game_to_screen(layout(window), x, y);
}

}  // namespace vexel::platform
