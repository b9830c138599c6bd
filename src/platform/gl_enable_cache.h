// The engine's cache of GL capability switches: a switch reaches OpenGL only when the cached
// state differs. Every engine module switches capabilities through it.
#pragma once

#include <cstdint>

namespace vexel::platform {

constexpr int32_t kEnableCacheSize = 88;
constexpr uint8_t kEnableUnknown = 127;

// Switches a capability (a GL enum such as GL_DEPTH_TEST). Capabilities the cache does not
// hold go to OpenGL every time.
void gl_set_enabled(uint32_t capability, bool on);
inline void gl_enable(uint32_t capability) {
    gl_set_enabled(capability, true);
}
inline void gl_disable(uint32_t capability) {
    gl_set_enabled(capability, false);
}
// Every cached state becomes unknown, so that the next switch of each reaches OpenGL.
void gl_enable_cache_invalidate();
// The cached byte of a capability: 0 off, 1 on, kEnableUnknown; -1 when it is not cached.
int32_t gl_enable_cache_state(uint32_t capability);

}  // namespace vexel::platform
