#include <cstdint>

#include "gfx2d/draw_state.h"
#include "gfx2d/font_sheets.h"
#include "gfx2d/sprite_operations.h"

namespace vexel {

namespace {

constexpr int32_t kSheetWidth = 128;
constexpr int32_t kSheetHeight = 64;
constexpr int32_t kCell = 8;
constexpr int32_t kGlyphWidth = 5;
constexpr int32_t kGlyphHeight = 6;
constexpr int32_t kFirstGlyph = 32;

// Characters 32 to 127: bit 5 * gy + gx lights glyph pixel (gx, gy), counted from the top left.
constexpr uint32_t kGlyphWords[96] = {
    0x00000000, 0x08021080, 0x00002940, 0x15F57D40, 0x08E619C4, 0x14222140,
    0x0ED114E0, 0x00001080, 0x08210880, 0x04421040, 0x09575480, 0x08471080,
    0x04400000, 0x00070000, 0x08000000, 0x04222100,  // 32 - 47
    0x00E5294E, 0x004210C4, 0x00E1390E, 0x00E4390E, 0x0084394A, 0x00E4384E,
    0x00E5384E, 0x0042210E, 0x00E5394E, 0x00E4394E, 0x00020080, 0x00220080,
    0x00820888, 0x000701C0, 0x00222082, 0x0040310E,  // 48 - 63
    0x00E0B526, 0x00A5394E, 0x00E5194E, 0x00E5094E, 0x00E52946, 0x00E1384E,
    0x0021384E, 0x00E5284E, 0x00A5394A, 0x00E2108E, 0x00E5210C, 0x00A5194A,
    0x00E10842, 0x015AD6BF, 0x00A5294E, 0x00E5294E,  // 64 - 79
    0x0021394E, 0x00F294A7, 0x00A5194E, 0x00E4384E, 0x0042108E, 0x00E5294A,
    0x0045294A, 0x01FAD6B5, 0x00A5114A, 0x0042394A, 0x00E1110E, 0x00610846,
    0x01041041, 0x00621086, 0x00000144, 0x00E00000,  // 80 - 95
    0x00000082, 0x00E53000, 0x00E53842, 0x00E13800, 0x00E53908, 0x08273800,
    0x00423888, 0x08873800, 0x00A51842, 0x00421004, 0x04421004, 0x00A32842,
    0x00421084, 0x015ABC00, 0x00A51800, 0x00E53800,  // 96 - 111
    0x04E51800, 0x10E53000, 0x00253800, 0x00E409C0, 0x00C23884, 0x00C52800,
    0x00452800, 0x00EAD400, 0x00A22800, 0x1C872800, 0x00E121C0, 0x00821888,
    0x00421084, 0x00223082, 0x0002A800, 0x3F18C63F,  // 112 - 127
};

// Whether cell pixel (x, y) is a lit glyph pixel; the glyph sits at x 1..5, y 1..6.
bool lit(uint32_t word, int32_t x, int32_t y) {
    const int32_t gx = x - 1;
    const int32_t gy = y - 1;
    if (gx < 0 || gx >= kGlyphWidth || gy < 0 || gy >= kGlyphHeight) return false;
    return (word >> (kGlyphWidth * gy + gx) & 1) != 0;
}

void set_rgba(uint8_t* p, uint8_t grey, uint8_t alpha) {
    p[0] = p[1] = p[2] = grey;
    p[3] = alpha;
}

}  // namespace

ImageBuffer builtin_font_picture() {
    ImageBuffer picture;
    if (!picture.size_for(kSheetWidth, kSheetHeight)) return picture;
    for (int32_t c = kFirstGlyph; c < 128; ++c) {
        const uint32_t word = kGlyphWords[c - kFirstGlyph];
        const int32_t left = c % 16 * kCell;
        const int32_t top = c / 16 * kCell;
        // Column 7 of every cell stays transparent.
        for (int32_t y = 0; y < kCell; ++y) {
            for (int32_t x = 0; x < kCell - 1; ++x) {
                uint8_t* p = picture.pixel(left + x, top + y);
                if (lit(word, x, y)) {
                    set_rgba(p, 255, 255);
                } else if (lit(word, x - 1, y) || lit(word, x + 1, y) || lit(word, x, y - 1) ||
                           lit(word, x, y + 1)) {
                    set_rgba(p, 8, 255);
                }
            }
        }
    }
    return picture;
}

bool install_builtin_font(int32_t font) {
    if (font < 0 || font >= kFontCount) return false;
    FontGlyphs& glyphs = draw_state().fonts[font];
    for (int32_t c = 0; c < 256; ++c) {
        GlyphRecord& glyph = glyphs[c];
        glyph.left = 0;
        glyph.width = kCell;
        glyph.u0 = static_cast<float>(c % 16 * kCell) / kSheetWidth;
        glyph.u1 = glyph.u0 + static_cast<float>(kCell) / kSheetWidth;
    }
    return create_sprite(kFirstFontSlot + font, builtin_font_picture(), false);
}

}  // namespace vexel
