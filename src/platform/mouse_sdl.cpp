#include <SDL.h>

#include "platform/mouse.h"
#include "platform/native_window_sdl.h"
#include "platform/opengl_duderedi.h"

namespace vexel::platform {

namespace {

// The engine's window positions are the game's pixels; the system's are the window's own, which
// differ while the game's picture is letterboxed.
const Letterbox* letterbox_of(const NativeWindow* window) {
    const OpenGLDuderedi* gl = opengl_duderedi();
    return gl && window && gl->window == window ? &gl->letterbox : nullptr;
}

}  // namespace

void cursor_show(bool shown) {
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

bool cursor_set_relative(bool relative) {
    if (SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE) == 0) return true;
    if (relative) cursor_show(false);
    return false;
}

void cursor_place(NativeWindow* window, int32_t x, int32_t y) {
    if (window && window->sdl) {
        int32_t screen_x = x;
        int32_t screen_y = y;
        if (const Letterbox* letterbox = letterbox_of(window))
            letterbox->position_to_screen(window, &screen_x, &screen_y);
        SDL_WarpMouseInWindow(window->sdl, screen_x, screen_y);
    }
    mouse_set_position(x, y);
}

void cursor_position(const NativeWindow* window, int32_t* x, int32_t* y) {
    int global_x = 0;
    int global_y = 0;
    SDL_GetGlobalMouseState(&global_x, &global_y);
    int left = 0;
    int top = 0;
    if (window && window->sdl) SDL_GetWindowPosition(window->sdl, &left, &top);
    *x = global_x - left;
    *y = global_y - top;
    if (const Letterbox* letterbox = letterbox_of(window))
        letterbox->position_to_game(window, x, y);
}

}  // namespace vexel::platform
