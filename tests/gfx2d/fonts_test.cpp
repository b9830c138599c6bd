#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include <vexel/error.h>
#include <vexel/fonts.h>

#include "gfx2d/draw_state.h"
#include "gfx2d/draw_test_support.h"
#include "gfx2d/font_sheets.h"
#include "gfx2d/image_encoders.h"
#include "gfx2d/texture_store.h"

namespace vexel {
namespace {

constexpr int32_t kJ = 106;

std::array<uint8_t, 4> rgba_at(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

constexpr std::array<uint8_t, 4> kLit{255, 255, 255, 255};
constexpr std::array<uint8_t, 4> kOutline{8, 8, 8, 255};
constexpr std::array<uint8_t, 4> kClear{0, 0, 0, 0};

// A transparent sheet of 16 x 8 (or 16 x 16) cells; ink paints opaque columns into a cell.
struct Sheet {
    Sheet(int32_t w, int32_t h) { picture.size_for(w, h); }
    void ink(int32_t c, int32_t first_column, int32_t last_column) {
        const bool tall = picture.height() > picture.width();
        const int32_t cw = picture.width() / 16;
        const int32_t ch = picture.height() / (tall ? 16 : 8);
        for (int32_t x = first_column; x <= last_column; ++x) {
            uint8_t* p = picture.pixel(cw * (c % 16) + x, ch * (c / 16) + ch / 2);
            p[0] = p[1] = p[2] = p[3] = 255;
        }
    }
    ImageBuffer picture;
};

TEST(BuiltinFontPictureTest, GlyphPixelsAreWhiteWithADarkOutline) {
    const ImageBuffer picture = builtin_font_picture();
    ASSERT_EQ(picture.width(), 128);
    ASSERT_EQ(picture.height(), 64);
    // "!" (33): cell (8, 16); its word lights glyph pixels (2, 1), (2, 2), (2, 3) and (2, 5),
    // which sit one pixel right and down in the cell.
    EXPECT_EQ(rgba_at(picture, 11, 18), kLit);
    EXPECT_EQ(rgba_at(picture, 11, 19), kLit);
    EXPECT_EQ(rgba_at(picture, 11, 20), kLit);
    EXPECT_EQ(rgba_at(picture, 11, 22), kLit);
    EXPECT_EQ(rgba_at(picture, 11, 17), kOutline);  // above
    EXPECT_EQ(rgba_at(picture, 11, 21), kOutline);  // the gap
    EXPECT_EQ(rgba_at(picture, 11, 23), kOutline);  // below, cell row 7
    EXPECT_EQ(rgba_at(picture, 10, 18), kOutline);
    EXPECT_EQ(rgba_at(picture, 12, 22), kOutline);
    EXPECT_EQ(rgba_at(picture, 10, 17), kClear);  // diagonal neighbours stay clear
    EXPECT_EQ(rgba_at(picture, 8, 16), kClear);
}

TEST(BuiltinFontPictureTest, ControlCellsAndTheLastColumnStayTransparent) {
    const ImageBuffer picture = builtin_font_picture();
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 128; ++x)
            ASSERT_EQ(rgba_at(picture, x, y), kClear);
    }
    // 127 lights its whole top glyph row up to glyph column 4 (cell column 5): column 6 is its
    // outline and column 7 stays clear.
    EXPECT_EQ(rgba_at(picture, 15 * 8 + 5, 7 * 8 + 1), kLit);
    EXPECT_EQ(rgba_at(picture, 15 * 8 + 6, 7 * 8 + 1), kOutline);
    for (int32_t row = 0; row < 64; ++row) {
        for (int32_t cell = 0; cell < 16; ++cell)
            ASSERT_EQ(rgba_at(picture, cell * 8 + 7, row), kClear) << cell << ", " << row;
    }
}

class FontsTest : public testing::DrawTest {
protected:
    const SpriteSlot& font_slot(int32_t font) {
        return *texture_store().slot(kFirstFontSlot + font);
    }
    const GlyphRecord& glyph(int32_t font, int32_t c) { return draw_state().fonts[font][c]; }
};

TEST_F(FontsTest, BuiltinFontFillsItsSheetSlotAndEveryGlyph) {
    ASSERT_TRUE(install_builtin_font(5));
    const SpriteSlot& slot = font_slot(5);
    EXPECT_EQ(slot.width, 128);
    EXPECT_EQ(slot.height, 64);
    EXPECT_EQ(slot.texture_width, 128);
    EXPECT_EQ(slot.texture_height, 64);
    EXPECT_FLOAT_EQ(slot.u_extent, 1.0f);
    EXPECT_FLOAT_EQ(slot.v_extent, 1.0f);
    EXPECT_EQ(slot.mip_texture, 0u);
    EXPECT_EQ(testing::texture_parameter(slot.texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    ImageBuffer uploaded;
    ASSERT_TRUE(read_sprite_pixels(kFirstFontSlot + 5, uploaded));
    EXPECT_TRUE(testing::same_pixels(uploaded, builtin_font_picture()));
    EXPECT_EQ(glyph(5, 200).left, 0);
    EXPECT_EQ(glyph(5, 200).width, 8);
    EXPECT_FLOAT_EQ(glyph(5, 200).u0, 0.5f);
    EXPECT_FLOAT_EQ(glyph(5, 200).u1, 0.5625f);
    EXPECT_FALSE(install_builtin_font(32));
    EXPECT_FALSE(install_builtin_font(-1));
}

TEST_F(FontsTest, SheetAnalysisMeasuresInkAndGivesTheSpaceTheWidthOfJ) {
    Sheet sheet(256, 128);  // 128 characters in cells of 16 x 16
    sheet.ink(kJ, 3, 6);
    sheet.ink('W', 0, 15);
    analyse_font_sheet(2, sheet.picture);
    // Ink in columns 3..6: four columns and one of spacing.
    EXPECT_EQ(glyph(2, kJ).left, 3);
    EXPECT_EQ(glyph(2, kJ).width, 5);
    EXPECT_FLOAT_EQ(glyph(2, kJ).u0, (160 + 3) / 256.0f);
    EXPECT_FLOAT_EQ(glyph(2, kJ).u1, (160 + 3 + 5) / 256.0f);
    // A glyph reaching the cell's edge gets no spacing column.
    EXPECT_EQ(glyph(2, 'W').left, 0);
    EXPECT_EQ(glyph(2, 'W').width, 16);
    // An empty cell is a whole cell wide.
    EXPECT_EQ(glyph(2, 'A').left, 0);
    EXPECT_EQ(glyph(2, 'A').width, 16);
    EXPECT_EQ(glyph(2, ' ').width, 5);
    EXPECT_FLOAT_EQ(glyph(2, ' ').u0, 0.0f);
    EXPECT_FLOAT_EQ(glyph(2, ' ').u1, 5 / 256.0f);
    // The upper half copies the lower one.
    EXPECT_EQ(glyph(2, 128 + kJ).width, 5);
    EXPECT_FLOAT_EQ(glyph(2, 128 + kJ).u0, glyph(2, kJ).u0);
}

TEST_F(FontsTest, TallSheetHas256CharactersOfTheirOwn) {
    Sheet sheet(128, 256);  // cells of 8 x 16
    sheet.ink(200, 1, 2);
    analyse_font_sheet(3, sheet.picture);
    EXPECT_EQ(glyph(3, 200).left, 1);
    EXPECT_EQ(glyph(3, 200).width, 3);
    EXPECT_EQ(glyph(3, 72).width, 8);
}

TEST_F(FontsTest, LoadedSheetBecomesTheCurrentFont) {
    Sheet sheet(256, 128);
    sheet.ink(kJ, 2, 9);
    const std::string name = engine_.temp().file("font.png");
    ASSERT_TRUE(encode_png(name.c_str(), sheet.picture));
    set_error(9);
    load_font(name.c_str(), 4);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(draw_state().current_font, 4u);
    EXPECT_EQ(font_slot(4).width, 256);
    EXPECT_EQ(glyph(4, ' ').width, 9);
    int32_t w = 0;
    int32_t h = 0;
    get_font_size(w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 16);
    EXPECT_EQ(text_width("abc", false), 48);
    EXPECT_EQ(text_width("j j", true), 27);
}

TEST_F(FontsTest, UnreadableFontFileLeavesTheBuiltinFont) {
    testing::write_file(engine_.temp().file("bad.png"), "not a picture");
    load_font(engine_.temp().file("bad.png").c_str(), 6);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(font_slot(6).width, 128);
    EXPECT_EQ(draw_state().current_font, 6u);
    set_error(0);
    load_font(engine_.temp().file("missing.bmp").c_str(), 7);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(font_slot(7).height, 64);
    EXPECT_EQ(glyph(7, 'x').width, 8);
}

TEST_F(FontsTest, EmptyNameEmptiesTheFont) {
    ASSERT_TRUE(install_builtin_font(8));
    set_font(1);
    load_font("", 8);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(font_slot(8).width, 0);
    EXPECT_EQ(draw_state().current_font, 1u);
}

TEST_F(FontsTest, FontNumbersOutsideTheTableAreRefused) {
    set_font(3);
    set_font(32);
    EXPECT_EQ(last_error_code(), 7);
    EXPECT_EQ(draw_state().current_font, 3u);
    set_error(0);
    set_font(-1);
    EXPECT_EQ(last_error_code(), 7);
    set_error(0);
    load_font(engine_.temp().file("missing.bmp").c_str(), 32);
    EXPECT_EQ(last_error_code(), 7);
    load_font("", -3);
    EXPECT_EQ(last_error_code(), 7);
    EXPECT_EQ(draw_state().current_font, 3u);
    EXPECT_EQ(texture_store().slot(kFirstFontSlot - 3)->width, 0);
}

TEST_F(FontsTest, FreeFontIsTheHighestWithoutASheet) {
    EXPECT_EQ(find_free_font(), 31);
    ASSERT_TRUE(install_builtin_font(31));
    EXPECT_EQ(find_free_font(), 30);
    for (int32_t font = 0; font < 31; ++font)
        ASSERT_TRUE(install_builtin_font(font));
    EXPECT_EQ(find_free_font(), -1);
}

TEST_F(FontsTest, BuiltinTextWidths) {
    ASSERT_TRUE(install_builtin_font(0));
    set_font(0);
    EXPECT_EQ(text_width("abc", false), 24);
    EXPECT_EQ(text_width("abc", true), 24);
    EXPECT_EQ(text_width("", true), 0);
    int32_t w = 0;
    int32_t h = 0;
    get_font_size(w, h);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 8);
}

TEST_F(FontsTest, ProportionalWidthUsesEveryByteUnreduced) {
    Sheet sheet(256, 128);
    sheet.ink(72, 0, 3);  // 'H': 5 wide
    analyse_font_sheet(0, sheet.picture);
    draw_state().fonts[0][200].width = 11;  // its own record, not that of 200 mod 128
    ASSERT_TRUE(create_sprite(kFirstFontSlot, sheet.picture, false));
    set_font(0);
    EXPECT_EQ(text_width("H\xC8", true), 5 + 11);
}

TEST_F(FontsTest, StartWithoutDefaultFileLeavesFontZeroEmptyWithSixteenPixelCells) {
    EXPECT_EQ(font_slot(0).width, 0);
    EXPECT_EQ(draw_state().current_font, 0u);
    EXPECT_EQ(glyph(0, 'A').width, 16);
    EXPECT_FLOAT_EQ(glyph(0, 'A').u0, 1 / 16.0f);
}

TEST_F(FontsTest, DefaultFontComesFromTheFirstFileFound) {
    Sheet sheet(256, 128);
    ASSERT_TRUE(encode_png(engine_.temp().file("smalfont.png").c_str(), sheet.picture));
    std::filesystem::create_directory(engine_.temp().file("Media"));
    testing::write_file(engine_.temp().file("Media/smalfont.bmp"), "no picture at all");
    const std::string here = std::filesystem::current_path();
    ASSERT_EQ(::chdir(engine_.temp().path().c_str()), 0);
    load_default_font();
    // "Media/smalfont.bmp" is found before "smalfont.png"; it does not decode: built-in font.
    EXPECT_EQ(font_slot(0).width, 128);
    EXPECT_EQ(last_error_code(), 3);
    std::filesystem::remove(engine_.temp().file("Media/smalfont.bmp"));
    load_default_font();
    EXPECT_EQ(font_slot(0).width, 256);
    ASSERT_EQ(::chdir(here.c_str()), 0);
}

}  // namespace
}  // namespace vexel
