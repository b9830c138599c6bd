// Which core version or extension provides each OpenGL entry point, from the system's GL headers
// (generated at build time by data/generate_gl_entry_points.cmake).
#pragma once

#include <cstddef>

namespace vexel::platform {

struct GlEntryPoint {
    const char* name;     // "glGenFramebuffers"
    const char* feature;  // "GL_VERSION_3_0", "GL_ARB_framebuffer_object", ...
};

// Sorted by name (byte order), then feature; a function several features provide appears once
// for each. The OpenGL 1.0 and 1.1 functions have the feature "GL_VERSION_1_0".
extern const GlEntryPoint kGlEntryPoints[];
extern const size_t kGlEntryPointCount;

}  // namespace vexel::platform
