#include <algorithm>

#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/fonts.h>

#include "app/failure_report.h"
#include "gfx2d/draw_state.h"
#include "gfx2d/font_sheets.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_layout.h"
#include "image/image_decoders.h"

namespace vexel {

namespace {

constexpr int32_t kJ = 106;
constexpr int32_t kSpace = 32;
constexpr int32_t kEmptyCell = 16;
constexpr const char* kDefaultFontFiles[] = {"Media/smalfont.png", "Media/smalfont.bmp",
                                             "smalfont.png", "smalfont.bmp"};

bool column_has_ink(const ImageBuffer& picture, int32_t x, int32_t top, int32_t rows) {
    for (int32_t y = top; y < top + rows; ++y) {
        if (picture.pixel(x, y)[3] != 0) return true;
    }
    return false;
}

uint8_t byte_of(int32_t value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

void analyse_font_sheet(int32_t font, const ImageBuffer& picture) {
    if (font < 0 || font >= kFontCount) return;
    FontGlyphs& glyphs = draw_state().fonts[font];
    const bool tall = picture.height() > picture.width();
    const int32_t count = tall ? 256 : 128;
    const int32_t cell_w = picture.width() / 16;
    const int32_t cell_h = picture.height() / (tall ? 16 : 8);
    const auto texture_w = static_cast<float>(power_of_two_size(picture.width()));
    for (int32_t c = 0; c < count; ++c) {
        const int32_t cx = cell_w * (c % 16);
        const int32_t cy = cell_h * (c / 16);
        int32_t left = 0;
        while (left < cell_w && !column_has_ink(picture, cx + left, cy, cell_h))
            ++left;
        int32_t width = cell_w;
        if (left == cell_w) {
            left = 0;
        } else {
            int32_t last = cell_w - 1;
            while (!column_has_ink(picture, cx + last, cy, cell_h))
                --last;
            width = last - left + 1;
            if (left + width < cell_w) ++width;
        }
        GlyphRecord& glyph = glyphs[c];
        glyph.left = byte_of(left);
        glyph.width = byte_of(width);
        glyph.u0 = static_cast<float>(cx + left) / texture_w;
        glyph.u1 = static_cast<float>(cx + left + width) / texture_w;
        if (c == kJ) {
            glyphs[kSpace].width = glyph.width;
            glyphs[kSpace].u0 = 0;
            glyphs[kSpace].u1 = glyph.u1 - glyph.u0;
        }
    }
    if (count == 128) std::copy_n(glyphs.begin(), 128, glyphs.begin() + 128);
}

void init_empty_font(int32_t font) {
    if (font < 0 || font >= kFontCount) return;
    for (int32_t c = 0; c < 256; ++c) {
        GlyphRecord& glyph = draw_state().fonts[font][c];
        glyph.left = 0;
        glyph.width = kEmptyCell;
        glyph.u0 = static_cast<float>(c % 16) / 16;
        glyph.u1 = glyph.u0 + 1.0f / 16;
    }
}

void load_font(const DynString& file, int32_t font) {
    set_error(0);
    if (font < 0 || font >= kFontCount) {
        set_error(7);
        return;
    }
    const int32_t slot = kFirstFontSlot + font;
    if (file.empty()) {
        free_sprite(slot);
        return;
    }
    draw_state().current_font = static_cast<uint32_t>(font);
    DynString path;
    ImageBuffer picture;
    ImageFailure why = ImageFailure::kNotFound;
    if (resolve_name(file, path, true) &&
        decode_bmp_or_png(path.c_str(), texture_store().font_colour_key, picture, &why)) {
        analyse_font_sheet(font, picture);
        if (create_sprite(slot, picture, false)) return;
        why = picture.byte_count() == 0 ? ImageFailure::kEmpty : ImageFailure::kNoTexture;
    }
    set_error(3);
    log_load_failure("load_font", file.c_str(), image_failure_reason(why));
    install_builtin_font(font);
}

void set_font(int32_t font) {
    if (font < 0 || font >= kFontCount) {
        set_error(7);
        return;
    }
    draw_state().current_font = static_cast<uint32_t>(font);
}

void get_font_size(int32_t& width, int32_t& height) {
    const SpriteSlot* sheet = font_sheet(static_cast<int32_t>(draw_state().current_font));
    width = sheet ? sheet->width / 16 : 0;
    height = sheet ? sheet->height / (sheet->height > sheet->width ? 16 : 8) : 0;
}

int32_t find_free_font() {
    for (int32_t font = kFontCount - 1; font >= 0; --font) {
        if (font_sheet(font)->width / 16 == 0) return font;
    }
    return -1;
}

void load_default_font() {
    for (const char* name : kDefaultFontFiles) {
        DynString path;
        if (resolve_name(DynString(name), path, true)) {
            load_font(DynString(name), 0);
            return;
        }
    }
    // Without a font file the text commands would draw and measure nothing at all.
    install_builtin_font(0);
}

}  // namespace vexel
