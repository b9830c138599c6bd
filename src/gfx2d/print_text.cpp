#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

#include <vexel/fonts.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/render_context.h"

namespace vexel {

void print_text(const DynString& text, double x, double y, bool proportional) {
    if (!gl_ready()) return;
    DrawState& state = draw_state();
    const auto font = static_cast<int32_t>(state.current_font);
    const SpriteSlot* sheet = font_sheet(font);
    if (!sheet) return;

    const bool tall = sheet->height > sheet->width;
    const int32_t rows = tall ? 16 : 8;
    const int32_t count = tall ? 256 : 128;
    const auto cell_h = static_cast<float>(sheet->height / rows);
    const float row_v = sheet->v_extent / static_cast<float>(rows);
    const auto fixed_w = static_cast<float>(sheet->width / 16);
    const FontGlyphs& glyphs = state.fonts[font];

    std::vector<TextVertex>& strip = state.text_vertices;
    try {
        strip.resize(size_t{text.length()} * 4);
    } catch (const std::bad_alloc&) {
        strip.clear();
        return;  // a text too long to hold in memory as vertices is not drawn
    }
    TextVertex* next = strip.data();
    auto pen_x = static_cast<float>(std::ceil(x));
    const auto pen_y = static_cast<float>(std::ceil(y));
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
    for (uint32_t i = 0; i < text.length(); ++i) {
        const int32_t c = bytes[i] % count;
        if (c == 0) break;
        float w, u0, u1;
        if (proportional) {
            w = glyphs[c].width;
            u0 = glyphs[c].u0;
            u1 = glyphs[c].u1;
        } else {
            w = fixed_w;
            u0 = static_cast<float>(c % 16) * sheet->u_extent / 16;
            u1 = u0 + sheet->u_extent / 16;
        }
        const float vb = row_v * static_cast<float>(rows - 1 - c / 16);
        const float vt = vb + row_v;
        *next++ = {pen_x, pen_y + cell_h, 0, u0, vb};
        *next++ = {pen_x, pen_y, 0, u0, vt};
        *next++ = {pen_x + w, pen_y + cell_h, 0, u1, vb};
        *next++ = {pen_x + w, pen_y, 0, u1, vt};
        pen_x += w;
    }
    strip.resize(size_t(next - strip.data()));
    if (strip.empty() || strip.size() > size_t{INT32_MAX}) return;
    const BatchState run{kFirstFontSlot + font, false, nearest_2d_filters(), false};
    BatchVertex* out = batch_vertices(run, BatchShape::kStrip, static_cast<int32_t>(strip.size()));
    if (!out) return;
    for (const TextVertex& vertex : strip)
        *out++ = {vertex.x, vertex.y, vertex.u, vertex.v, 255, 255, 255, 255};
}

int32_t text_width(const DynString& text, bool proportional) {
    const auto font = static_cast<int32_t>(draw_state().current_font);
    const SpriteSlot* sheet = font_sheet(font);
    if (!sheet) return 0;
    int64_t width = 0;
    if (proportional) {
        const FontGlyphs& glyphs = draw_state().fonts[font];
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
        for (uint32_t i = 0; i < text.length(); ++i)
            width += glyphs[bytes[i]].width;
    } else {
        width = int64_t{text.length()} * (sheet->width / 16);
    }
    // A text of gigabytes in a wide font would not fit.
    return static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX));
}

}  // namespace vexel
