#include "platform/gl_enable_cache.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <iterator>

namespace vexel::platform {

namespace {

// Capabilities that belong to the context as a whole; texture targets and texture coordinate
// generation are per texture unit and stay out of the cache.
constexpr uint32_t kCachedCapabilities[] = {
    GL_DEPTH_TEST,
    GL_CULL_FACE,
    GL_ALPHA_TEST,
    GL_BLEND,
    GL_FOG,
    GL_LINE_SMOOTH,
    GL_POINT_SMOOTH,
    GL_POLYGON_SMOOTH,
    GL_STENCIL_TEST,
    GL_NORMALIZE,
    GL_LIGHTING,
    GL_COLOR_MATERIAL,
    GL_DITHER,
    GL_POLYGON_OFFSET_FILL,
    GL_POLYGON_OFFSET_LINE,
    GL_POLYGON_OFFSET_POINT,
    GL_AUTO_NORMAL,
    GL_SCISSOR_TEST,
    GL_LIGHT0,
    GL_LIGHT1,
    GL_LIGHT2,
    GL_LIGHT3,
    GL_LIGHT4,
    GL_LIGHT5,
    GL_LIGHT6,
    GL_LIGHT7,
    GL_CLIP_PLANE0,
    GL_CLIP_PLANE1,
    GL_CLIP_PLANE2,
    GL_CLIP_PLANE3,
    GL_CLIP_PLANE4,
    GL_CLIP_PLANE5,
    GL_LINE_STIPPLE,
    GL_POLYGON_STIPPLE,
    GL_COLOR_LOGIC_OP,
    GL_RESCALE_NORMAL,
    GL_MULTISAMPLE,
    GL_SAMPLE_ALPHA_TO_COVERAGE,
    GL_SAMPLE_ALPHA_TO_ONE,
    GL_SAMPLE_COVERAGE,
    GL_COLOR_SUM,
    GL_POINT_SPRITE,
    GL_VERTEX_PROGRAM_POINT_SIZE,
    GL_VERTEX_PROGRAM_TWO_SIDE,
    GL_DEPTH_CLAMP,
    GL_FRAGMENT_PROGRAM_ARB,
    GL_VERTEX_PROGRAM_ARB,
};
static_assert(sizeof kCachedCapabilities / sizeof kCachedCapabilities[0] <= kEnableCacheSize);

uint8_t g_cache[kEnableCacheSize];
bool g_filled = false;

int32_t slot_of(uint32_t capability) {
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(kCachedCapabilities)); ++i) {
        if (kCachedCapabilities[i] == capability) return i;
    }
    return -1;
}

void fill_unknown_once() {
    if (g_filled) return;
    std::memset(g_cache, kEnableUnknown, sizeof g_cache);
    g_filled = true;
}

}  // namespace

void gl_set_enabled(uint32_t capability, bool on) {
    fill_unknown_once();
    const int32_t slot = slot_of(capability);
    if (slot >= 0) {
        if (g_cache[slot] == (on ? 1 : 0)) return;
        g_cache[slot] = on ? 1 : 0;
    }
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

void gl_enable_cache_invalidate() {
    std::memset(g_cache, kEnableUnknown, sizeof g_cache);
    g_filled = true;
}

int32_t gl_enable_cache_state(uint32_t capability) {
    fill_unknown_once();
    const int32_t slot = slot_of(capability);
    return slot < 0 ? -1 : g_cache[slot];
}

}  // namespace vexel::platform
