#include "platform/opengl_duderedi.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/window.h>

#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"
#include "platform/keyboard.h"
#include "platform/message_pump.h"
#include "platform/present.h"
#include "platform/render_hooks.h"
#include "platform/video.h"

namespace vexel::platform {

namespace {

constexpr const char* kWindowTitle = "Vexel";
constexpr const char* kAdviceFile = "opengldriver.txt";
constexpr size_t kAdviceLimit = 2047;

// Deleted by shutdown_engine only: a process that ends without it leaves the window to the system.
OpenGLDuderedi* g_instance = nullptr;
bool g_software_warned = false;
int32_t g_desktop_width = 0;
int32_t g_desktop_height = 0;

const char* renderer_text() {
    static std::string text;
    static bool fetched = false;
    if (!fetched) {
        const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        text = renderer ? renderer : "";
        fetched = true;
    }
    return text.c_str();
}

bool contains(const char* text, const char* part) {
    return std::strstr(text, part) != nullptr;
}

bool make_current_or_renew(NativeWindow* window, NativeGlContext** context) {
    if (!*context) *context = gl_context_create(window);
    if (*context && gl_context_make_current(window, *context)) return true;
    gl_context_delete(*context);
    *context = gl_context_create(window);
    return *context && gl_context_make_current(window, *context);
}

void log_texture_limit() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    char line[64];
    std::snprintf(line, sizeof line, "Texture size limit: %d\n", size);
    append_error_log(line);
}

void unbind_textures() {
    const GlExtensionProcs& procs = gl_extension_procs();
    if (procs.glActiveTextureARB) {
        procs.glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, 0);
        procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

int32_t clamp_int(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void orientation_matrix(int32_t orientation, float m[16]) {
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    switch (orientation) {
        case 1:
            m[0] = m[5] = 0;
            m[1] = -1;
            m[4] = 1;
            break;
        case 2:
            m[0] = m[5] = -1;
            break;
        case 3:
            m[0] = m[5] = 0;
            m[1] = 1;
            m[4] = -1;
            break;
        default:
            break;
    }
}

}  // namespace

OpenGLDuderedi::~OpenGLDuderedi() {
    destroy_window();
    gl_context_delete(gl_context);
}

bool OpenGLDuderedi::create_window(int32_t w, int32_t h, int32_t bits, int32_t frame_rate,
                                   int32_t samples) {
    set_frame_rate(frame_rate);
    if (!video_init()) return false;
    keep_display_awake();
    multisample = samples;
    append_error_log("WIN32 init video\n");
    int32_t desktop_bits = 0;
    desktop_mode(&g_desktop_width, &g_desktop_height, &desktop_bits);

    NativeWindow* created = window_create(kWindowTitle, w, h, SurfaceFormat{bits, 0});
    if (!created) return false;
    window = created;
    if (bits == 0) bits = desktop_bits;
    if (w == 0 || h == 0) {
        int32_t client_w = 0;
        int32_t client_h = 0;
        window_size(window, &client_w, &client_h);
        if (w == 0) w = client_w;
        if (h == 0) h = client_h;
    }
    width = w;
    height = h;
    colour_bits = bits;
    is_fullscreen = false;
    windowed_width_ = windowed_height_ = 0;

    if (!make_current_or_renew(window, &gl_context)) {
        window_destroy(window);
        window = nullptr;
        return false;
    }

    const int32_t requested = multisample;
    multisample = 0;
    if (requested > 0) {
        if (NativeWindow* sampled = choose_multisample_window(w, h, requested)) {
            destroy_window();
            window = sampled;
            gl_context_delete(gl_context);
            gl_context = nullptr;
            if (!make_current_or_renew(window, &gl_context)) {
                window_destroy(window);
                window = nullptr;
                return false;
            }
        }
    }

    check_software_renderer();

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    width = w;
    height = h;
    colour_bits = bits;
    is_fullscreen = false;
    append_error_log("get accurate timer - 1st call\n");
    next_frame_time = timer_ms();
    append_error_log("flip - 1st call\n");
    present_frame(nullptr);

    const char* extensions = gl_extension_text();
    fetch_gl_extension_procs(extensions);
    bgra_supported = extensions && (std::strstr(extensions, "_texture_format_BGRA8888") ||
                                    std::strstr(extensions, "GL_EXT_bgra"));
    if (bgra_supported) {
        append_error_log("BGRA ext supported\n");
    } else {
        append_error_log(
            (std::string("BGRA ext NOT supported\n") + (extensions ? extensions : "") + "\n")
                .c_str());
    }

    log_texture_limit();
    append_error_log("init fbo\n");
    if (render_hooks().init_offscreen_surfaces) render_hooks().init_offscreen_surfaces();

    append_error_log("2D VP\n");
    reset_gl_state();
    append_error_log("OGRB init [OK]\n");
    return true;
}

NativeWindow* OpenGLDuderedi::choose_multisample_window(int32_t w, int32_t h, int32_t samples) {
    if (!has_extension("GL_ARB_multisample")) return nullptr;
    for (int32_t count = samples; count >= 1; count /= 2) {
        if (NativeWindow* sampled =
                window_create(kWindowTitle, w, h, SurfaceFormat{colour_bits, count}))
            return sampled;
    }
    return nullptr;
}

void OpenGLDuderedi::check_software_renderer() {
    if (g_software_warned || !needs_software_renderer_warning(renderer_text(), gl_version_text()))
        return;
    g_software_warned = true;
    append_error_log("*** OpenGL Software Emulation - update driver!\n");
    show_warning_box("No OpenGL Hardware Drivers", software_renderer_advice().c_str());
}

int32_t OpenGLDuderedi::set_windowed() {
    if (!window) return 1;
    if (is_fullscreen) {
        end_letterbox();
        window_leave_fullscreen(window);
        if (windowed_width_ > 0) {
            width = windowed_width_;
            height = windowed_height_;
            windowed_width_ = windowed_height_ = 0;
        }
    }
    window_show_windowed(window, width, height);
    keyboard_set_focus(true);
    set_viewport(0, 0, 0, 0);
    is_fullscreen = false;
    return 1;
}

bool OpenGLDuderedi::set_fullscreen() {
    if (!window) return false;
    end_letterbox();
    if (is_fullscreen && windowed_width_ > 0) {
        width = windowed_width_;
        height = windowed_height_;
        windowed_width_ = windowed_height_ = 0;
    }
    int32_t desktop_w = 0;
    int32_t desktop_h = 0;
    int32_t desktop_bits = 0;
    desktop_mode(&desktop_w, &desktop_h, &desktop_bits);
    const int32_t bits = colour_bits != 0 && colour_bits != desktop_bits ? colour_bits : 0;
    bool done = window_enter_fullscreen_mode(window, width, height, bits) ||
                (bits != 0 && window_enter_fullscreen_mode(window, width, height, 0));
    if (!done && desktop_w > 0 && window_enter_fullscreen_desktop(window)) {
        done = true;
        if (begin_letterbox()) {
            char line[128];
            std::snprintf(line, sizeof line, "Fullscreen %dx%d shown scaled on the %dx%d desktop\n",
                          width, height, desktop_w, desktop_h);
            append_error_log(line);
        } else {
            // The screen keeps the desktop's size: that is the client area the game draws on.
            windowed_width_ = width;
            windowed_height_ = height;
            width = desktop_w;
            height = desktop_h;
        }
    }
    if (!done) {
        alert_sound();
        append_error_log("No Fullscreen Mode available\n");
        set_windowed();
        return false;
    }
    keyboard_set_focus(true);
    set_viewport(0, 0, 0, 0);
    is_fullscreen = true;
    return true;
}

void OpenGLDuderedi::set_screen_mode(int32_t w, int32_t h, int32_t bits, int32_t fullscreen) {
    if (w != 0 || h != 0) windowed_width_ = windowed_height_ = 0;
    if (w != 0) width = w;
    if (h != 0) height = h;
    if (bits != 0) colour_bits = bits;
    if (fullscreen) {
        set_fullscreen();
    } else {
        set_windowed();
    }
}

int32_t OpenGLDuderedi::hide_window() {
    if (!window) return 1;
    end_letterbox();
    if (is_fullscreen && windowed_width_ > 0) {
        width = windowed_width_;
        height = windowed_height_;
        windowed_width_ = windowed_height_ = 0;
    }
    window_hide(window);
    is_fullscreen = false;
    pump_messages(nullptr);
    return 1;
}

int32_t OpenGLDuderedi::destroy_window() {
    if (!window) return 0;
    if (render_hooks().free_all_textures) render_hooks().free_all_textures();
    letterbox.end();
    window_leave_fullscreen(window);
    is_fullscreen = false;
    gl_context_release(window);
    window_destroy(window);
    window = nullptr;
    width = height = 0;
    windowed_width_ = windowed_height_ = 0;
    return 0;
}

bool OpenGLDuderedi::begin_letterbox() {
    if (render_hooks().flush_2d) render_hooks().flush_2d();
    if (render_hooks().end_offscreen) render_hooks().end_offscreen();
    return letterbox.begin(width, height);
}

void OpenGLDuderedi::end_letterbox() {
    if (!letterbox.active()) return;
    if (render_hooks().flush_2d) render_hooks().flush_2d();
    if (render_hooks().end_offscreen) render_hooks().end_offscreen();
    letterbox.end();
}

void OpenGLDuderedi::set_frame_rate(int32_t frames_per_second) {
    ms_per_frame = frames_per_second > 0 ? 1000.0 / frames_per_second : 2.0;
}

void OpenGLDuderedi::reset_gl_state() {
    set_viewport(0, 0, 0, 0);
    gl_enable_cache_invalidate();
    gl_disable(GL_DEPTH_TEST);
    gl_disable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    gl_enable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    alpha_test_threshold = 0.05f;
    smoothing = true;
    glColor4f(1, 1, 1, 1);
    gl_disable(GL_FOG);
    gl_disable(GL_LINE_SMOOTH);
    gl_disable(GL_POINT_SMOOTH);
    gl_disable(GL_STENCIL_TEST);
    gl_disable(GL_NORMALIZE);
    gl_disable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    gl_disable(GL_COLOR_MATERIAL);
    gl_disable(GL_DITHER);
    gl_disable(GL_POLYGON_SMOOTH);
    gl_disable(GL_POLYGON_OFFSET_FILL);
    gl_disable(GL_AUTO_NORMAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
    unbind_textures();
    if (render_hooks().reset_2d_state) render_hooks().reset_2d_state();
    gl_disable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
}

void OpenGLDuderedi::reset_after_present() {
    gl_disable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    reset_gl_state();
}

void OpenGLDuderedi::set_viewport(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (render_hooks().flush_2d) render_hooks().flush_2d();
    if (render_hooks().end_shadow_pass) render_hooks().end_shadow_pass();
    int32_t surface_w = 0;
    int32_t surface_h = 0;
    if (render_target >= 0 && render_hooks().surface_size &&
        render_hooks().surface_size(render_target, &surface_w, &surface_h)) {
        if (w <= 0 || h <= 0) {
            x = y = 0;
            w = surface_w;
            h = surface_h;
        }
        glViewport(x, clamp_int(int64_t{surface_h} - h - y), w, h);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
    } else {
        const int32_t turn = orientation >= 0 && orientation <= 3 ? orientation : 0;
        const bool sideways = turn == 1 || turn == 3;
        if (w <= 0 || h <= 0) {
            x = y = 0;
            w = sideways ? height : width;
            h = sideways ? width : height;
        }
        // The script's rectangle turned into window coordinates (left, top, extents); 64-bit so
        // that no script value can overflow on the way.
        int64_t left = x;
        int64_t top = y;
        if (turn == 1) {
            left = int64_t{width} - y - h;
            top = x;
        } else if (turn == 2) {
            left = int64_t{width} - x - w;
            top = int64_t{height} - y - h;
        } else if (turn == 3) {
            left = y;
            top = int64_t{height} - x - w;
        }
        const int32_t extent_w = sideways ? h : w;
        const int32_t extent_h = sideways ? w : h;
        glViewport(clamp_int(left), clamp_int(int64_t{height} - top - extent_h), extent_w,
                   extent_h);
        float matrix[16];
        orientation_matrix(turn, matrix);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(matrix);
    }
    glOrtho(0, w, h, 0, -1, 1);
    viewport_x = x;
    viewport_y = y;
    viewport_width = w;
    viewport_height = h;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void OpenGLDuderedi::set_window_size(int32_t w, int32_t h) {
    width = w;
    height = h;
    set_viewport(0, 0, 0, 0);
}

void OpenGLDuderedi::set_caption(const char* text) {
    caption = text ? text : "";
    if (window) window_set_title(window, caption.c_str());
}

void OpenGLDuderedi::show_pause_caption(bool paused) {
    if (!window) return;
    DynString shown = caption;
    if (paused) shown.append(" <pause>");
    window_set_title(window, shown.c_str());
}

void OpenGLDuderedi::set_clear_colour(int32_t colour) {
    if (colour == -1) {
        clear_each_frame = false;
        return;
    }
    clear_each_frame = true;
    glClearColor(static_cast<float>(colour & 0xFF) / 255.0f,
                 static_cast<float>((colour >> 8) & 0xFF) / 255.0f,
                 static_cast<float>((colour >> 16) & 0xFF) / 255.0f, 1.0f);
}

OpenGLDuderedi* opengl_duderedi() {
    return g_instance;
}

OpenGLDuderedi& create_opengl_duderedi() {
    delete_opengl_duderedi();
    g_instance = new OpenGLDuderedi();
    return *g_instance;
}

void delete_opengl_duderedi() {
    delete g_instance;
    g_instance = nullptr;
}

DynString software_renderer_advice() {
    DynString advice;
    if (FILE* file = std::fopen(kAdviceFile, "rb")) {
        char buffer[kAdviceLimit + 1];
        const size_t count = std::fread(buffer, 1, kAdviceLimit, file);
        std::fclose(file);
        buffer[count] = 0;
        advice = buffer;
    }
    if (advice.empty())
        advice = "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n";
    return advice;
}

bool needs_software_renderer_warning(const char* renderer, const char* version) {
    const bool slow_rasteriser =
        renderer && (std::strcmp(renderer, "Mesa Windows GDI Driver") == 0 ||
                     contains(renderer, "softpipe") || contains(renderer, "swrast"));
    return slow_rasteriser || !gl_version_at_least(version, 1, 3);
}

void remembered_desktop_size(int32_t* width, int32_t* height) {
    *width = g_desktop_width;
    *height = g_desktop_height;
}

}  // namespace vexel::platform
