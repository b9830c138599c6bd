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

void put_on_active_unit(uint32_t name) {
    if (!name) {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    apply_smoothing_filters(false);
}

}  // namespace

void bind_slot_textures(const std::vector<uint32_t>& names, int32_t a, int32_t b) {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    const bool units = procs.glActiveTextureARB != nullptr;
    uint32_t first = 0;
    uint32_t second = 0;
    if (a >= 0) {
        if (b >= 0 && units) {
            first = name_at(names, b);
            second = name_at(names, a);
        } else {
            first = name_at(names, a);
        }
    }
    if (units) {
        procs.glActiveTextureARB(GL_TEXTURE1_ARB);
        put_on_active_unit(second);
        procs.glActiveTextureARB(GL_TEXTURE0_ARB);
        forget_second_unit_state();
    }
    put_on_active_unit(first);
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
