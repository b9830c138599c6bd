#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <vector>

#include <vexel/offscreen.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/offscreen_emulation.h"
#include "gfx2d/offscreen_surfaces.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "image/image_buffer.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

// Offscreen surfaces may go below the 16 texels of loaded sprites.
int32_t surface_side(int32_t n) {
    int32_t side = 2;
    while (side < n)
        side *= 2;
    return side;
}

// Transparent black into the bound texture, a band of rows at a time so that even the largest
// texture needs only a small buffer.
void clear_texture(int32_t tw, int32_t th) {
    constexpr size_t kBandBytes = size_t{1} << 18;
    const int32_t rows = std::clamp<int32_t>(int32_t(kBandBytes / (size_t(tw) * 4)), 1, th);
    const std::vector<uint8_t> zeros(size_t(tw) * rows * 4, 0);
    for (int32_t y = 0; y < th; y += rows)
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, tw, std::min(rows, th - y), GL_RGBA,
                        GL_UNSIGNED_BYTE, zeros.data());
}

// A record whose slot holds a picture; null otherwise.
SpriteSlot* surface_sprite(const OffscreenSurface& surface) {
    SpriteSlot* sprite = texture_store().slot(surface.slot);
    return sprite && sprite->width > 0 && sprite->height > 0 && sprite->texture != 0 ? sprite
                                                                                     : nullptr;
}

// Binds the surface's framebuffer with the slot's texture attached; false (nothing bound) when
// it cannot be drawn to that way.
bool bind_framebuffer(OffscreenSurface& surface, const SpriteSlot& sprite) {
    const platform::GlExtensionProcs& gl = platform::gl_extension_procs();
    if (!offscreen_state().framebuffers_available || surface.framebuffer == 0 ||
        surface.saved_binding >= 0 || !gl.glBindFramebufferEXT || !gl.glFramebufferTexture2DEXT ||
        !gl.glCheckFramebufferStatusEXT)
        return false;
    GLint binding = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &binding);
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, surface.framebuffer);
    // The script may have refilled the slot since: draw into the texture it holds now.
    GLint attached = 0;
    if (gl.glGetFramebufferAttachmentParameterivEXT)
        gl.glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                                    GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT,
                                                    &attached);
    if (GLuint(attached) != sprite.texture) {
        gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                     sprite.texture, 0);
        if (gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
            gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(binding));
            return false;
        }
    }
    surface.saved_binding = binding;
    return true;
}

}  // namespace

void init_offscreen_surfaces() {
    OffscreenState& state = offscreen_state();
    state = OffscreenState{};
    load_framebuffer_functions();
}

void release_offscreen_surfaces() {
    end_offscreen();
    for (OffscreenSurface& surface : offscreen_state().surfaces)
        release_framebuffer(surface);
    release_emulation();
}

bool offscreen_target_size(int32_t n, int32_t* width, int32_t* height) {
    const OffscreenState& state = offscreen_state();
    if (n != state.current) return false;
    const OffscreenSurface* surface = offscreen_surface(n);
    const SpriteSlot* sprite = surface ? surface_sprite(*surface) : nullptr;
    if (!sprite) return false;
    *width = sprite->width;
    *height = sprite->height;
    return true;
}

void create_offscreen(int32_t n, int32_t slot, int32_t w, int32_t h) {
    OffscreenSurface* surface = offscreen_surface(n);
    SpriteSlot* sprite = texture_store().slot(slot);
    if (!surface || !sprite || !gl_ready()) return;
    flush_2d_batch();
    OffscreenState& state = offscreen_state();
    if (state.current == n) end_offscreen();
    // Two surfaces drawing into one texture would overwrite each other's attachment.
    for (OffscreenSurface& other : state.surfaces) {
        if (other.slot == slot) {
            if (&other - state.surfaces.data() == state.current) end_offscreen();
            release_framebuffer(other);
        }
    }
    release_framebuffer(*surface);
    free_sprite(slot);
    if (w < 1 || h < 1) {
        create_framebuffer(n, w, h, 0, true);  // logs the refused size
        return;
    }
    if (!image_size_allowed(w, h)) return;
    const int32_t tw = surface_side(w);
    const int32_t th = surface_side(h);
    if (tw > max_texture_size() || th > max_texture_size()) return;

    set_upload_pixel_store();
    sprite->texture = new_bound_texture(false);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    clear_texture(tw, th);
    texture_store().bound_2d_slot = -1;
    sprite->set_picture_size(w, h, tw, th);
    if (state.framebuffers_available) create_framebuffer(n, tw, th, sprite->texture, true);
    surface->width = tw;
    surface->height = th;
    surface->slot = slot;
}

void use_offscreen(int32_t n) {
    // What was drawn so far belongs to the target that was current.
    flush_2d_batch();
    // The current surface ends whatever the number names; one without a picture to draw into
    // then leaves the drawing on the screen.
    end_offscreen();
    OffscreenSurface* surface = offscreen_surface(n);
    SpriteSlot* sprite = surface ? surface_sprite(*surface) : nullptr;
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (!sprite || !gl || !gl_ready()) return;

    OffscreenState& state = offscreen_state();
    TextureStore& store = texture_store();
    state.current = n;
    gl->render_target = n;
    if (bind_framebuffer(*surface, *sprite)) {
        state.emulated = false;
        gl->set_viewport(0, 0, sprite->width, sprite->height);
        store.release_alpha_mask(surface->slot);
        return;
    }
    state.emulated = true;
    state.saved_orientation = gl->orientation;
    gl->orientation = 0;
    gl->set_viewport(0, 0, sprite->width, sprite->height);
    begin_emulated_surface(*sprite, store.sprite_colour_key);
    store.release_alpha_mask(surface->slot);
}

void end_offscreen() {
    OffscreenState& state = offscreen_state();
    if (state.current < 0) return;
    flush_2d_batch();
    OffscreenSurface& surface = state.surfaces[size_t(state.current)];
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    if (state.emulated) {
        end_emulated_surface(texture_store().slot(surface.slot));
        if (gl) gl->orientation = state.saved_orientation;
    } else if (surface.saved_binding >= 0) {
        const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
        if (gl_ready() && procs.glBindFramebufferEXT)
            procs.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(surface.saved_binding));
        surface.saved_binding = -1;
    }
    state.current = -1;
    state.emulated = false;
    if (gl) {
        gl->render_target = -1;
        if (gl->window) gl->set_viewport(0, 0, 0, 0);
    }
}

}  // namespace vexel
