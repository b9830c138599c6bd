#include "engine3d/slot_textures.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

#include "engine3d/texture_binding.h"
#include "platform/gl_extensions.h"

namespace vexel::engine3d {

namespace {

uint32_t name_at(const std::vector<uint32_t>& names, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= names.size()) return 0;
    return names[static_cast<size_t>(index)];
}

}  // namespace

void bind_slot_textures(const std::vector<uint32_t>& names, int32_t a, int32_t b) {
    bind_texture_pair(a, b,
                      [&names](int32_t index) { return BoundTexture{name_at(names, index)}; });
}

bool second_unit_textured() {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (!procs.glActiveTextureARB) return false;
    procs.glActiveTextureARB(GL_TEXTURE1_ARB);
    const bool on = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
    procs.glActiveTextureARB(GL_TEXTURE0_ARB);
    return on;
}

}  // namespace vexel::engine3d
