// The SDL side of a NativeWindow, shared by the SDL sources of the platform layer only.
#pragma once

#include <SDL.h>

#include "platform/window.h"

namespace vexel::platform {

struct NativeWindow {
    SDL_Window* sdl = nullptr;
    int32_t samples = 0;  // what the surface has, as the context made current on it reports
};

}  // namespace vexel::platform
