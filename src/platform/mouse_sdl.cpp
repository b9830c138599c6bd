#include <SDL.h>

#include "platform/mouse.h"
#include "platform/native_window_sdl.h"

namespace vexel::platform {

void cursor_show(bool shown) {
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

bool cursor_set_relative(bool relative) {
    if (SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE) == 0) return true;
    if (relative) cursor_show(false);
    return false;
}

void cursor_place(NativeWindow* window, int32_t x, int32_t y) {
    if (window && window->sdl) SDL_WarpMouseInWindow(window->sdl, x, y);
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
}

}  // namespace vexel::platform
