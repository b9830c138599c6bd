#include "platform/window.h"

#include <algorithm>

#include "platform/native_window_sdl.h"
#include "platform/video.h"

namespace vexel::platform {

namespace {

void set_surface_attributes(const SurfaceFormat& format) {
    const int channel = format.colour_bits > 0 && format.colour_bits < 24 ? 5 : 8;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel == 5 ? 6 : 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, format.samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, format.samples > 0 ? format.samples : 0);
}

int display_of(const NativeWindow* window) {
    const int index = SDL_GetWindowDisplayIndex(window->sdl);
    return index < 0 ? 0 : index;
}

// Head-less there is no screen to take over: full screen is the window in the desktop's corner
// at the desktop's size (which desktop_mode may set apart from the offscreen driver's own).
bool enter_headless_fullscreen(NativeWindow* window) {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;
    desktop_mode(&width, &height, &bits);
    if (width <= 0 || height <= 0) return false;
    SDL_SetWindowPosition(window->sdl, 0, 0);
    SDL_SetWindowSize(window->sdl, width, height);
    SDL_ShowWindow(window->sdl);
    return true;
}

}  // namespace

NativeWindow* window_create(const char* title, int32_t width, int32_t height,
                            const SurfaceFormat& format) {
    set_surface_attributes(format);
    const int w = width > 0 ? width : 640;
    const int h = height > 0 ? height : 480;
    // SDL's offscreen driver makes a window's drawing surface once, at the size the window is
    // created with, and never resizes it: anything drawn beyond it is lost. A head-less window
    // is therefore born at least as large as the desktop and then given its own size, so that
    // every later size up to full screen has pixels behind it.
    int created_w = w;
    int created_h = h;
    if (video_is_headless()) {
        int32_t desktop_w = 0;
        int32_t desktop_h = 0;
        int32_t bits = 0;
        desktop_mode(&desktop_w, &desktop_h, &bits);
        created_w = std::max<int>(w, desktop_w);
        created_h = std::max<int>(h, desktop_h);
    }
    SDL_Window* sdl =
        SDL_CreateWindow(title, 0, 0, created_w, created_h, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!sdl) return nullptr;
    if (created_w != w || created_h != h) SDL_SetWindowSize(sdl, w, h);
    return new NativeWindow{sdl, 0};
}

void window_destroy(NativeWindow* window) {
    if (!window) return;
    SDL_DestroyWindow(window->sdl);
    delete window;
}

uint32_t window_id(const NativeWindow* window) {
    return SDL_GetWindowID(window->sdl);
}

void window_set_title(NativeWindow* window, const char* title) {
    SDL_SetWindowTitle(window->sdl, title ? title : "");
}

std::string window_title(const NativeWindow* window) {
    return SDL_GetWindowTitle(window->sdl);
}

void window_size(const NativeWindow* window, int32_t* width, int32_t* height) {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window->sdl, &w, &h);
    *width = w;
    *height = h;
}

void window_position(const NativeWindow* window, int32_t* x, int32_t* y) {
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(window->sdl, &left, &top);
    *x = left;
    *y = top;
}

void window_drawable_size(const NativeWindow* window, int32_t* width, int32_t* height) {
    int w = 0;
    int h = 0;
    SDL_GL_GetDrawableSize(window->sdl, &w, &h);
    *width = w;
    *height = h;
}

int32_t window_samples(const NativeWindow* window) {
    return window->samples;
}

void window_show_windowed(NativeWindow* window, int32_t width, int32_t height) {
    window_leave_fullscreen(window);
    SDL_SetWindowBordered(window->sdl, SDL_TRUE);
    SDL_SetWindowResizable(window->sdl, SDL_FALSE);
    SDL_SetWindowSize(window->sdl, width, height);
    const int display = display_of(window);
    SDL_Rect bounds{};
    SDL_Rect work{};
    if (SDL_GetDisplayBounds(display, &bounds) != 0) bounds = SDL_Rect{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(display, &work) != 0) work = bounds;
    SDL_SetWindowPosition(window->sdl, bounds.x + (work.w - width) / 2,
                          bounds.y + (work.h - height) / 2);
    SDL_ShowWindow(window->sdl);
    SDL_RaiseWindow(window->sdl);
}

bool window_enter_fullscreen_mode(NativeWindow* window, int32_t width, int32_t height,
                                  int32_t colour_bits) {
    if (video_is_headless()) {
        int32_t desktop_w = 0;
        int32_t desktop_h = 0;
        int32_t desktop_bits = 0;
        desktop_mode(&desktop_w, &desktop_h, &desktop_bits);
        const bool offered = width == desktop_w && height == desktop_h &&
                             (colour_bits <= 0 || colour_bits == desktop_bits);
        return offered && enter_headless_fullscreen(window);
    }
    const int display = display_of(window);
    const int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(display, i, &mode) != 0) continue;
        if (mode.w != width || mode.h != height) continue;
        if (colour_bits > 0 && static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format)) != colour_bits)
            continue;
        if (SDL_SetWindowDisplayMode(window->sdl, &mode) != 0) continue;
        SDL_SetWindowSize(window->sdl, width, height);
        SDL_ShowWindow(window->sdl);
        if (SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN) == 0) return true;
    }
    return false;
}

bool window_enter_fullscreen_desktop(NativeWindow* window) {
    if (video_is_headless()) return enter_headless_fullscreen(window);
    SDL_ShowWindow(window->sdl);
    return SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

void window_leave_fullscreen(NativeWindow* window) {
    if (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP)
        SDL_SetWindowFullscreen(window->sdl, 0);
}

void window_hide(NativeWindow* window) {
    window_leave_fullscreen(window);
    SDL_HideWindow(window->sdl);
}

bool window_is_visible(const NativeWindow* window) {
    return (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) != 0;
}

void window_raise(NativeWindow* window) {
    SDL_ShowWindow(window->sdl);
    SDL_RaiseWindow(window->sdl);
}

}  // namespace vexel::platform
