#include "gfx2d/draw_state.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gfx2d/draw_batch.h"
#include "platform/gl_enable_cache.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

DrawState& draw_state() {
    static DrawState state;
    return state;
}

void reset_draw_state() {
    draw_state() = DrawState{};
    discard_2d_batch();
}

SpriteSlot* font_sheet(int32_t font) {
    if (font < 0 || font >= kFontCount) return nullptr;
    return texture_store().slot(kFirstFontSlot + font);
}

void second_unit_off_until_pop() {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (!procs.glActiveTextureARB || !draw_state().second_unit_may_be_on) return;
    procs.glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    procs.glActiveTextureARB(GL_TEXTURE0_ARB);
}

void second_unit_off() {
    second_unit_off_until_pop();
    draw_state().second_unit_may_be_on = false;
}

void note_second_unit_on() {
    draw_state().second_unit_may_be_on = true;
}

void bind_2d_texture(int32_t slot) {
    TextureStore& store = texture_store();
    const SpriteSlot* sprite = slot >= 0 ? store.slot(slot) : nullptr;
    if (!sprite) {
        store.bound_2d_slot = -1;
        glDisable(GL_TEXTURE_2D);
        second_unit_off();
        if (!platform::gl_extension_procs().glActiveTextureARB)
            platform::gl_enable(GL_COLOR_MATERIAL);
        return;
    }
    store.bound_2d_slot = slot;
    glBindTexture(GL_TEXTURE_2D, sprite->texture);
    glEnable(GL_TEXTURE_2D);
    second_unit_off();
}

bool nearest_2d_filters() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return gl && !gl->smoothing;
}

float global_alpha() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return gl ? gl->global_alpha : 1.0f;
}

void restore_2d_colour() {
    glColor4f(1, 1, 1, global_alpha());
}

void apply_alpha_test() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    const float threshold = gl ? gl->alpha_test_threshold : 1.0f;
    if (threshold < 1.0f) {
        platform::gl_enable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, threshold);
    } else {
        platform::gl_disable(GL_ALPHA_TEST);
    }
}

void mark_2d_state_dirty() {
    texture_store().bound_2d_slot = -1;
    note_second_unit_on();
}

void reset_2d_state() {
    mark_2d_state_dirty();
    if (platform::OpenGLDuderedi* gl = platform::opengl_duderedi()) gl->global_alpha = 1.0f;
}

}  // namespace vexel
