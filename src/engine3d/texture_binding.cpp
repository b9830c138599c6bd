#include "engine3d/texture_binding.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "engine3d/duderedi_3d.h"
#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel::engine3d {

namespace {

// The GL name a slot draws with; a slot without a mipmapped copy draws with its picture.
BoundTexture slot_texture(int32_t slot_number) {
    if (slot_number < 0) return {};
    const SpriteSlot* slot = texture_store().slot(slot_number);
    if (!slot) return {};
    if (scene_globals().texture_mipmapping && slot->mip_texture) return {slot->mip_texture, true};
    return {slot->texture, false};
}

void select_unit(GLenum unit) {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (procs.glActiveTextureARB) procs.glActiveTextureARB(unit);
}

// Binds on the active unit with texturing on, or switches texturing off there.
void put_on_active_unit(BoundTexture bound) {
    if (!bound.name) {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, bound.name);
    apply_smoothing_filters(bound.mipmapped);
}

}  // namespace

void bind_texture_pair(int32_t a, int32_t b, const std::function<BoundTexture(int32_t)>& lookup) {
    flush_2d_batch();
    const bool units = platform::gl_extension_procs().glActiveTextureARB != nullptr;
    BoundTexture first{};
    BoundTexture second{};
    if (a >= 0) {
        if (b >= 0 && units) {
            first = lookup(b);
            second = lookup(a);
        } else {
            first = lookup(a);
        }
    }
    if (units) {
        select_unit(GL_TEXTURE1_ARB);
        put_on_active_unit(second);
        if (second.name) note_second_unit_on();
        select_unit(GL_TEXTURE0_ARB);
    }
    put_on_active_unit(first);
}

void bind_scene_textures(int32_t tex1, int32_t tex2) {
    bind_texture_pair(tex1, tex2, slot_texture);
}

void unbind_scene_textures() {
    bind_scene_textures(-1, -1);
}

void apply_smoothing_filters(bool mipmapped) {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    const bool smooth = !gl || gl->smoothing;
    const GLint plain = smooth ? GL_LINEAR : GL_NEAREST;
    // A mipmapped copy keeps sampling its chain: only the choice within a level follows the switch.
    const GLint reduced = !mipmapped ? plain
                          : smooth   ? GL_LINEAR_MIPMAP_LINEAR
                                     : GL_NEAREST_MIPMAP_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, plain);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, reduced);
    forget_2d_texture_parameters();
}

void texture_second_unit() {
    glEnable(GL_TEXTURE_2D);
    note_second_unit_on();
}

void set_sampler_units() {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    if (!procs.glGetUniformLocationARB || !procs.glUniform1iARB) return;
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    if (program == 0) return;
    const auto handle = static_cast<GLhandleARB>(program);
    const GLint first = procs.glGetUniformLocationARB(handle, "TextureID1");
    if (first >= 0) procs.glUniform1iARB(first, 0);
    const GLint second = procs.glGetUniformLocationARB(handle, "TextureID2");
    if (second >= 0) procs.glUniform1iARB(second, 1);
}

}  // namespace vexel::engine3d
