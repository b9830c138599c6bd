// OpenGL context back end. Internal to the engine; the SDL2 implementation is gl_context_sdl.cpp.
#pragma once

#include "platform/window.h"

namespace vexel::platform {

struct NativeGlContext;

// A compatibility-profile context for the window's surface format; null on failure.
NativeGlContext* gl_context_create(NativeWindow* window);
void gl_context_delete(NativeGlContext* context);
// Makes the context current on the window; false when the two do not fit together.
bool gl_context_make_current(NativeWindow* window, NativeGlContext* context);
// Leaves the calling thread without a current context.
void gl_context_release(NativeWindow* window);
// Shows the back buffer.
void gl_swap_buffers(NativeWindow* window);
// The address of a GL function by name, or null when the driver lacks it. Drivers may hand out
// a stub for any name that starts with "gl", so non-null does not mean the function works.
void* gl_proc_address(const char* name);
// The same, exactly as the name is written, only when the current context really offers the
// function: an extension in its list or its core version provides it (gl_extensions.cpp). Null
// for names no extension or version known to the system's GL headers provides.
void* gl_offered_proc_address(const char* name);

}  // namespace vexel::platform

namespace vexel {
using platform::gl_proc_address;
}  // namespace vexel
