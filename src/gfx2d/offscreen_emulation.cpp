#include "gfx2d/offscreen_emulation.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <new>
#include <vector>

#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "image/colour_value.h"
#include "platform/gl_extensions.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

// The part of the window the emulated surface covers: from the lower-left corner, where the
// framebuffer rows of a surface lie, so that viewports and reads address it exactly as they
// address a framebuffer object of the surface's size.
struct Area {
    int32_t width = 0;
    int32_t height = 0;
};

struct Emulation {
    uint32_t saved_screen = 0;  // texture holding the covered screen area
    int32_t saved_width = 0;    // its texture size
    int32_t saved_height = 0;
    int32_t shown_key = kNoColourKey;  // the colour key as the framebuffer stores it
    Area area;                         // covered since begin_emulated_surface
};

Emulation g_emulation;

Area covered_area(const SpriteSlot& sprite) {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    Area area;
    if (!gl) return area;
    area.width = std::clamp<int32_t>(sprite.width, 0, gl->width);
    area.height = std::clamp<int32_t>(sprite.height, 0, gl->height);
    return area;
}

int32_t power_of_two_at_least(int32_t n) {
    int32_t size = 1;
    while (size < n)
        size *= 2;
    return size;
}

// The texture's lower-left area, texel for texel, onto the window's: no blending, filtering,
// lighting, depth or shader. With keep_transparent, texels of alpha 0 leave the framebuffer as
// it is.
void blit(uint32_t texture, int32_t texture_width, int32_t texture_height, const Area& area,
          bool keep_transparent) {
    const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
    GLint program = 0;
    if (procs.glUseProgramObjectARB) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        procs.glUseProgramObjectARB(0);
    }
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT |
                 GL_VIEWPORT_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT);
    second_unit_off_until_pop();
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (keep_transparent) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint min_filter = 0;
    GLint mag_filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min_filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glViewport(0, 0, area.width, area.height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const float u = float(area.width) / float(texture_width);
    const float v = float(area.height) / float(texture_height);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(u, 0);
    glVertex2f(1, -1);
    glTexCoord2f(u, v);
    glVertex2f(1, 1);
    glTexCoord2f(0, v);
    glVertex2f(-1, 1);
    glEnd();

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag_filter);
    glPopAttrib();
    if (procs.glUseProgramObjectARB) procs.glUseProgramObjectARB(program);
    texture_store().bound_2d_slot = -1;
}

void save_screen_area(const Area& area) {
    Emulation& e = g_emulation;
    const int32_t tw = power_of_two_at_least(area.width);
    const int32_t th = power_of_two_at_least(area.height);
    if (e.saved_screen == 0 || e.saved_width < tw || e.saved_height < th) {
        release_emulation();
        e.saved_width = tw;
        e.saved_height = th;
        set_upload_pixel_store();
        e.saved_screen = new_bound_texture(true);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    } else {
        glBindTexture(GL_TEXTURE_2D, e.saved_screen);
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, area.width, area.height);
    texture_store().bound_2d_slot = -1;
}

// Fills the area with the key at alpha 0 and remembers how the framebuffer stored the key.
void fill_with_key(const Area& area, int32_t key) {
    const int32_t colour = key == kNoColourKey ? 0 : key;
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT | GL_ENABLE_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, area.width, area.height);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(float(colour & 255) / 255, float(colour >> 8 & 255) / 255,
                 float(colour >> 16 & 255) / 255, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();
    g_emulation.shown_key = kNoColourKey;
    if (key == kNoColourKey) return;
    uint8_t rgba[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    g_emulation.shown_key = colour_value(rgba[0], rgba[1], rgba[2]);
}

// The area into the sprite's texture, row for row (texture rows run bottom-up like the
// framebuffer's); without framebuffer alpha the displayed key marks the transparent pixels.
void copy_area_to_sprite(const SpriteSlot& sprite, const Area& area) {
    glBindTexture(GL_TEXTURE_2D, sprite.texture);
    texture_store().bound_2d_slot = -1;
    if (framebuffer_alpha_bits() != 0) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, area.width, area.height);
        return;
    }
    std::vector<uint8_t> texels;
    try {
        texels.resize(size_t(area.width) * area.height * 4);
    } catch (const std::bad_alloc&) {
        return;  // the slot keeps its previous picture
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, area.width, area.height, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    for (size_t i = 0; i < texels.size(); i += 4) {
        const bool keyed =
            g_emulation.shown_key != kNoColourKey &&
            colour_value(texels[i], texels[i + 1], texels[i + 2]) == g_emulation.shown_key;
        texels[i + 3] = keyed ? 0 : 255;
    }
    set_upload_pixel_store();
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, area.width, area.height, GL_RGBA, GL_UNSIGNED_BYTE,
                    texels.data());
}

}  // namespace

void begin_emulated_surface(const SpriteSlot& sprite, int32_t key) {
    const Area area = covered_area(sprite);
    if (area.width <= 0 || area.height <= 0 || !gl_ready()) return;
    save_screen_area(area);
    g_emulation.area = area;
    fill_with_key(area, key);
    blit(sprite.texture, sprite.texture_width, sprite.texture_height, area, true);
}

void end_emulated_surface(const SpriteSlot* sprite) {
    const Area area = g_emulation.area;
    g_emulation.area = Area{};
    if (area.width <= 0 || area.height <= 0 || !gl_ready() || g_emulation.saved_screen == 0) return;
    // A slot refilled while it was drawn to keeps its new picture when the area no longer fits.
    if (sprite && sprite->texture != 0 && sprite->width >= area.width &&
        sprite->height >= area.height)
        copy_area_to_sprite(*sprite, area);
    blit(g_emulation.saved_screen, g_emulation.saved_width, g_emulation.saved_height, area, false);
}

void release_emulation() {
    if (g_emulation.saved_screen != 0 && gl_ready()) {
        const GLuint name = g_emulation.saved_screen;
        glDeleteTextures(1, &name);
    }
    g_emulation = Emulation{};
}

}  // namespace vexel
