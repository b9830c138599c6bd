// Internal: the 2D drawing state beside the sprite table: the current font and the glyph
// records of all fonts, the polygon batch, the text vertex array, and the GL switches every 2D
// draw shares (texture binding, filters, current colour). The alpha, the alpha-test reference
// and the smoothing switch live with the window (OpenGLDuderedi); the 2D code reads them there.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gfx2d/texture_store.h"

namespace vexel {

// Measurements of one character of a font: its first column inside the cell, its advance, and
// its horizontal texture range on the glyph sheet.
struct GlyphRecord {
    uint8_t left = 0;
    uint8_t width = 0;
    float u0 = 0;
    float u1 = 0;
};

using FontGlyphs = std::array<GlyphRecord, 256>;

// One vertex of the polygon batch: position, texture coordinate, colour bytes (20 bytes).
struct PolygonVertex {
    float x, y, u, v;
    uint8_t r, g, b, a;
};
static_assert(sizeof(PolygonVertex) == 20);

// One vertex of a text strip: position with z = 0, texture coordinate.
struct TextVertex {
    float x, y, z, u, v;
};

struct PolygonBatch {
    std::vector<PolygonVertex> vertices;
    int32_t mode = 0;  // 0 triangle fan, 1 separate triangles, 2 triangle strip
    bool coloured = false;
    bool new_strip_pending = false;
    int32_t slot = -1;  // -1: untextured
    float u_scale = 0;  // 1 / texture_width of the slot
    float v_scale = 0;  // 1 / texture_height of the slot
    int32_t picture_height = 0;
};

struct DrawState {
    uint32_t current_font = 0;
    std::array<FontGlyphs, kFontCount> fonts{};
    PolygonBatch polygon;
    std::vector<TextVertex> text_vertices;
    // Texturing may be on on the second unit: the 3D layer turns it on, the 2D draws turn it
    // off. Switching units is costly enough that the 2D draws do it only while this is set.
    bool second_unit_may_be_on = true;
};

// The process's 2D state, made on first use.
DrawState& draw_state();
// Back to the defaults (no font selected, empty glyph tables, empty batch).
void reset_draw_state();

// The sprite slot of a font's glyph sheet; null for a font number outside 0..31.
SpriteSlot* font_sheet(int32_t font);

// Records the slot as the current 2D texture and binds it on unit 0 with texturing on, the
// second unit off (its wrapping and filters: apply_2d_texture_parameters). -1 (or any number
// outside the table) turns texturing off; without multitexturing that also turns colour
// material on.
void bind_2d_texture(int32_t slot);
// Texturing off on the second unit (when the driver has one) if the 3D layer may have turned it
// on; unit 0 stays the active one.
void second_unit_off();
// The same between glPushAttrib and glPopAttrib, whose pop turns the unit back to what it was.
void second_unit_off_until_pop();
// For the 3D layer: texturing is now on on the second unit.
void note_second_unit_on();
// Whether the smoothing switch asks for nearest texels.
bool nearest_2d_filters();
// The current colour (1, 1, 1, global alpha).
void restore_2d_colour();
// The alpha of the window's drawing state (1 without a window).
float global_alpha();
// The alpha test as the stored reference says: on with greater-than below 1, else off.
void apply_alpha_test();
// What the present does to the 2D state: nothing bound, alpha 1, and the second texture unit's
// state unknown again.
void reset_2d_state();
// For code outside the 2D layer that binds textures or uses the second texture unit: the next
// 2D draw sets its texture state afresh.
void mark_2d_state_dirty();

}  // namespace vexel
