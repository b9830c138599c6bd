// Native window back end: one top-level window with an OpenGL-capable surface.
// Internal to the engine; the SDL2 implementation is window_sdl.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace vexel::platform {

struct NativeWindow;

// The drawing surface asked for: RGBA with at least this colour depth (0 for the desktop's),
// 24 depth bits, 8 stencil bits, double buffered; multisampled when samples > 0.
struct SurfaceFormat {
    int32_t colour_bits = 0;
    int32_t samples = 0;
};

// A hidden window whose client area is width x height; null when it cannot be made with that
// surface format.
NativeWindow* window_create(const char* title, int32_t width, int32_t height,
                            const SurfaceFormat& format);
void window_destroy(NativeWindow* window);

uint32_t window_id(const NativeWindow* window);
void window_set_title(NativeWindow* window, const char* title);
std::string window_title(const NativeWindow* window);
// The current client area size, in the coordinates pointer positions use.
void window_size(const NativeWindow* window, int32_t* width, int32_t* height);
// The current client area size in pixels of its drawing surface (larger than window_size on
// displays that scale windows up).
void window_drawable_size(const NativeWindow* window, int32_t* width, int32_t* height);
// Where the client area's top-left corner is on the desktop.
void window_position(const NativeWindow* window, int32_t* x, int32_t* y);
// The sample count the window's surface has (0 when not multisampled), which the driver may
// make more than was asked for; known once a context has been made current on the window.
int32_t window_samples(const NativeWindow* window);

// Leaves full screen when in it, gives the window a caption with a close box and minimise
// button, sizes its client area and places it centred in the work area of its display.
void window_show_windowed(NativeWindow* window, int32_t width, int32_t height);
// Full screen with a display mode change to exactly width x height (colour_bits 0: any depth).
// Head-less, the desktop's size is the one mode there is.
bool window_enter_fullscreen_mode(NativeWindow* window, int32_t width, int32_t height,
                                  int32_t colour_bits);
// Full screen over the desktop at the desktop's own size.
bool window_enter_fullscreen_desktop(NativeWindow* window);
void window_leave_fullscreen(NativeWindow* window);
void window_hide(NativeWindow* window);
bool window_is_visible(const NativeWindow* window);
// Brings the window to the front and gives it the keyboard.
void window_raise(NativeWindow* window);

}  // namespace vexel::platform
