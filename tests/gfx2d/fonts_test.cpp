#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include <vexel/error.h>
#include <vexel/fonts.h>

#include "gfx2d/draw_state.h"
#include "gfx2d/draw_test_support.h"
#include "gfx2d/font_sheets.h"
#include "gfx2d/texture_store.h"
#include "image/image_encoders.h"

namespace vexel {
namespace {

constexpr int32_t kJ = 106;

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

class FontsTest : public testing::DrawTest {
protected:
    const SpriteSlot& font_slot(int32_t font) {
        return *texture_store().slot(kFirstFontSlot + font);
    }
    const GlyphRecord& glyph(int32_t font, int32_t c) { return draw_state().fonts[font][c]; }
};

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

// Without a default font file, text still draws and measures: font 0 is the built-in font.
TEST_F(FontsTest, StartWithoutDefaultFileGivesFontZeroTheBuiltInFont) {
    EXPECT_EQ(font_slot(0).width, 128);
    EXPECT_EQ(font_slot(0).height, 64);
    EXPECT_EQ(draw_state().current_font, 0u);
    EXPECT_EQ(glyph(0, 'A').width, 8);
    EXPECT_FLOAT_EQ(glyph(0, 'A').u0, ('A' % 16) * 8 / 128.0f);
    EXPECT_EQ(text_width("Score", false), 40);
    print_text("I", 20, 20, false);
    EXPECT_GT(testing::lit_pixels(20, 20, 8, 8), 0);
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
