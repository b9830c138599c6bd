// OpenGLDuderedi: the engine window, its OpenGL context and the state of the present step.
// One instance, created by init_engine and deleted by shutdown_engine. The 2D layer keeps its
// own tables (sprites, fonts, surfaces) and reaches this object's fields through the accessor.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

#include "platform/gl_context.h"
#include "platform/letterbox.h"
#include "platform/window.h"

namespace vexel::platform {

class OpenGLDuderedi {
public:
    OpenGLDuderedi() = default;
    ~OpenGLDuderedi();  // destroys the window and the context
    OpenGLDuderedi(const OpenGLDuderedi&) = delete;
    OpenGLDuderedi& operator=(const OpenGLDuderedi&) = delete;

    // A hidden window of width x height (0: the window's own) with a context, the extension
    // entry points and the engine's GL state. False when no window or no context can be made.
    bool create_window(int32_t width, int32_t height, int32_t colour_bits, int32_t frame_rate,
                       int32_t multisample);
    // Shown with a caption, centred in the work area, at width x height; always 1.
    int32_t set_windowed();
    // Full screen at width x height with a mode change; else over the desktop with the game's
    // picture letterboxed (see Letterbox; width and height stay the game's); else, on a driver
    // without framebuffer objects, over the desktop at its size (which width and height become
    // until the window leaves full screen); else windowed (alert sound and "No Fullscreen Mode
    // available" in the log) with result false.
    bool set_fullscreen();
    // Each non-zero value replaces the stored one; then full screen or windowed.
    void set_screen_mode(int32_t width, int32_t height, int32_t colour_bits, int32_t fullscreen);
    // Leaves full screen and hides the window; always 1.
    int32_t hide_window();
    // Frees every texture and removes the window; the context survives. Always 0.
    int32_t destroy_window();
    // Frame period of the limiter: 1000 / fps, or 2 ms for 0 or less.
    void set_frame_rate(int32_t frames_per_second);
    // The engine's default GL state (see the enable cache) and the full 2D viewport.
    void reset_gl_state();
    // The drawing state every frame starts with: blending off, white, then reset_gl_state.
    void reset_after_present();
    // The 2D viewport in script coordinates; w or h of 0 or less means the whole target.
    void set_viewport(int32_t x, int32_t y, int32_t w, int32_t h);
    // Stores the client size and resets the viewport to it.
    void set_window_size(int32_t w, int32_t h);
    // The engine's window caption (the project name); shown at once.
    void set_caption(const char* caption);
    // Shows the caption with " <pause>" after it, or the plain caption again.
    void show_pause_caption(bool paused);
    // Colour value R + G*256 + B*65536 the present clears with; -1 stops clearing.
    void set_clear_colour(int32_t colour);

    NativeWindow* window = nullptr;
    NativeGlContext* gl_context = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t colour_bits = 0;
    bool is_fullscreen = false;
    int32_t multisample = 0;
    double ms_per_frame = 2.0;
    double next_frame_time = 0;
    bool clear_each_frame = true;
    bool depth_clear_pending = true;
    int32_t orientation = 0;
    int32_t render_target = -1;
    int32_t viewport_x = 0;
    int32_t viewport_y = 0;
    int32_t viewport_width = 0;
    int32_t viewport_height = 0;
    bool bgra_supported = false;
    float alpha_test_threshold = 0.05f;
    // Filters of every 2D draw and of 3D textures: linear when true, nearest when false.
    bool smoothing = true;
    // Alpha of the current colour (1, 1, 1, global_alpha) that modulates textured draws.
    float global_alpha = 1.0f;
    DynString caption;
    // Active while full screen shows the game's picture scaled on a larger desktop.
    Letterbox letterbox;

private:
    NativeWindow* choose_multisample_window(int32_t width, int32_t height, int32_t samples);
    void check_software_renderer();
    // The game's screen becomes the letterbox's framebuffer, or the window's again; what the 2D
    // layer holds back and an open offscreen surface are finished on the old one first.
    bool begin_letterbox();
    void end_letterbox();

    // The windowed size to come back to after full screen over the desktop changed the size.
    int32_t windowed_width_ = 0;
    int32_t windowed_height_ = 0;
};

// The engine's instance, or null before start-up and after shutdown.
OpenGLDuderedi* opengl_duderedi();
OpenGLDuderedi& create_opengl_duderedi();
void delete_opengl_duderedi();

// The text of the software-renderer warning: "opengldriver.txt" of the current directory (its
// first 2047 bytes) when it exists and is not empty, else the standard advice.
DynString software_renderer_advice();
// True for the renderers the user is warned about, with the log line and the box: the slow
// reference rasterisers (Mesa's softpipe and swrast, the system's generic "Mesa Windows GDI
// Driver") and any context below OpenGL 1.3 (version text null or unreadable counts as below).
// Mesa's llvmpipe, a complete and fast OpenGL 4.5 driver, is not one of them.
bool needs_software_renderer_warning(const char* renderer, const char* version);
// The desktop size remembered by the last create_window.
void remembered_desktop_size(int32_t* width, int32_t* height);

}  // namespace vexel::platform
