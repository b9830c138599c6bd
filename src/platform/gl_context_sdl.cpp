#include "platform/gl_context.h"

#include "platform/native_window_sdl.h"

namespace vexel::platform {

struct NativeGlContext {
    SDL_GLContext sdl = nullptr;
};

NativeGlContext* gl_context_create(NativeWindow* window) {
    SDL_GLContext context = SDL_GL_CreateContext(window->sdl);
    if (!context) return nullptr;
    return new NativeGlContext{context};
}

void gl_context_delete(NativeGlContext* context) {
    if (!context) return;
    SDL_GL_DeleteContext(context->sdl);
    delete context;
}

bool gl_context_make_current(NativeWindow* window, NativeGlContext* context) {
    if (SDL_GL_MakeCurrent(window->sdl, context ? context->sdl : nullptr) != 0) return false;
    int samples = 0;
    if (context && SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples) == 0)
        window->samples = samples;
    return true;
}

void gl_context_release(NativeWindow* window) {
    SDL_GL_MakeCurrent(window->sdl, nullptr);
}

void gl_swap_buffers(NativeWindow* window) {
    SDL_GL_SwapWindow(window->sdl);
}

void* gl_proc_address(const char* name) {
    if (!name || !*name) return nullptr;
    return SDL_GL_GetProcAddress(name);
}

}  // namespace vexel::platform
