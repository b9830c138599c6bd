#include "gfx2d/background_draw.h"

#include <GL/gl.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_draw.h"
#include "gfx2d/texture_store.h"
#include "platform/gl_enable_cache.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

// Four vertices as a triangle fan with the bound tile clamped to its edges.
void draw_textured_quad(const QuadVertex v[4]) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_TRIANGLE_FAN);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(v[i].u, v[i].v);
        glVertex2f(v[i].x, v[i].y);
    }
    glEnd();
}

void draw_tiles(const BackgroundSlot& slot) {
    float pen_x = 0;
    for (int32_t column = 0; column < slot.columns && column < kMaxBackgroundTiles; ++column) {
        float pen_y = 0;
        int16_t column_width = 0;
        for (int32_t row = 0; row < slot.rows && row < kMaxBackgroundTiles; ++row) {
            const int32_t index = column * kMaxBackgroundTiles + row;
            const int16_t tw = slot.tile_texture_width[index];
            const int16_t th = slot.tile_texture_height[index];
            if (slot.tiles[index] != 0 && tw > 0 && th > 0) {
                glBindTexture(GL_TEXTURE_2D, slot.tiles[index]);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
                const auto w = static_cast<float>(slot.tile_covered_width[index]);
                const auto h = static_cast<float>(slot.tile_covered_height[index]);
                const float u = w / static_cast<float>(tw);
                const float v = h / static_cast<float>(th);
                const QuadVertex quad[4] = {{pen_x, pen_y + h, 0, 0},
                                            {pen_x + w, pen_y + h, u, 0},
                                            {pen_x + w, pen_y, u, v},
                                            {pen_x, pen_y, 0, v}};
                draw_textured_quad(quad);
                column_width = tw;
            }
            pen_y += static_cast<float>(th);
        }
        pen_x += static_cast<float>(column_width);
    }
}

void draw_layer(int32_t background, float alpha) {
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    const BackgroundSlot* slot = texture_store().background(background);
    if (!gl || !slot || slot->columns == 0 || !gl_ready()) return;
    flush_2d_batch();
    gl->global_alpha = 1.0f;
    if (alpha < 1.0f) {
        platform::gl_enable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, alpha);
    } else {
        platform::gl_disable(GL_BLEND);
        glColor4f(1, 1, 1, 1);
    }
    platform::gl_disable(GL_ALPHA_TEST);
    // Texturing on unit 0 only; the tiles are bound one by one below.
    bind_2d_texture(-1);
    glEnable(GL_TEXTURE_2D);
    draw_tiles(*slot);
    bind_2d_texture(-1);
    platform::gl_disable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    apply_alpha_test();
}

}  // namespace

void draw_background(int32_t background) {
    draw_layer(background, 1.0f);
}

void blend_background(int32_t background, float alpha) {
    draw_layer(background, alpha);
}

}  // namespace vexel
