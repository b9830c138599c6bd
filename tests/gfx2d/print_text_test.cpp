#include <gtest/gtest.h>

#include <vexel/draw.h>
#include <vexel/fonts.h>

#include "gfx2d/draw_state.h"
#include "gfx2d/draw_test_support.h"
#include "gfx2d/font_sheets.h"
#include "gfx2d/texture_store.h"

namespace vexel {
namespace {

using testing::lit_pixels;
using testing::screen_colour;

// What a sheet pixel looks like on a black screen with the default alpha test.
int32_t shown(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return p[3] == 0 ? 0 : p[0] | p[1] << 8 | p[2] << 16;
}

// Every cell filled opaque with a colour that names its character: red = c.
ImageBuffer numbered_sheet(int32_t w, int32_t h) {
    ImageBuffer picture;
    picture.size_for(w, h);
    const int32_t rows = h > w ? 16 : 8;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(x / (w / 16) + 16 * (y / (h / rows)));
            p[1] = 100;
            p[3] = 255;
        }
    }
    return picture;
}

class PrintTextTest : public testing::DrawTest {
protected:
    void SetUp() override {
        testing::DrawTest::SetUp();
        set_smoothing(false);
    }
    void use_sheet(int32_t font, const ImageBuffer& picture) {
        analyse_font_sheet(font, picture);
        ASSERT_TRUE(create_sprite(kFirstFontSlot + font, picture, false));
        set_font(font);
    }
};

TEST_F(PrintTextTest, BuiltinCharactersLandInTheirCells) {
    ASSERT_TRUE(install_builtin_font(1));
    set_font(1);
    const ImageBuffer sheet = builtin_font_picture();
    print_text("A!", 10, 20, false);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            ASSERT_EQ(screen_colour(10 + x, 20 + y), shown(sheet, 8 + x, 32 + y)) << x << y;
            ASSERT_EQ(screen_colour(18 + x, 20 + y), shown(sheet, 8 + x, 16 + y)) << x << y;
        }
    }
    EXPECT_EQ(lit_pixels(0, 10, 40, 30), lit_pixels(10, 20, 16, 8));
    EXPECT_GT(lit_pixels(10, 20, 16, 8), 20);
}

TEST_F(PrintTextTest, SmoothedTextAtWholePixelsStaysSharp) {
    ASSERT_TRUE(install_builtin_font(1));
    set_font(1);
    set_smoothing(true);
    const ImageBuffer sheet = builtin_font_picture();
    print_text("Q", 3, 4, false);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(screen_colour(3 + x, 4 + y), shown(sheet, 8 + x, 40 + y)) << x << y;
    }
}

TEST_F(PrintTextTest, PenStartsAtTheNextWholePixel) {
    ASSERT_TRUE(install_builtin_font(1));
    set_font(1);
    print_text("H", 9.25, 19.5, true);
    const int32_t at_whole = lit_pixels(10, 20, 8, 8);
    EXPECT_GT(at_whole, 0);
    EXPECT_EQ(lit_pixels(0, 0, 40, 40), at_whole);
    EXPECT_EQ(lit_pixels(9, 19, 1, 9) + lit_pixels(9, 19, 9, 1), 0);
}

TEST_F(PrintTextTest, ShortSheetReducesCharactersAndStopsAtByte128) {
    use_sheet(2, numbered_sheet(256, 128));  // 128 characters in 16 x 16 cells
    print_text("\xC8", 0, 0, false);
    EXPECT_EQ(screen_colour(5, 5), 72 + 100 * 256);
    EXPECT_EQ(lit_pixels(0, 0, 40, 20), 256);
    clear_screen();
    print_text(
        "A\x80"
        "B",
        0, 0, false);
    EXPECT_EQ(screen_colour(8, 8), 'A' + 100 * 256);
    EXPECT_EQ(lit_pixels(0, 0, 64, 16), 256);
}

TEST_F(PrintTextTest, TallSheetDrawsAllCharactersFromTheirOwnCells) {
    use_sheet(3, numbered_sheet(128, 256));  // 256 characters in 8 x 16 cells
    print_text("\xC8\x80", 0, 0, false);
    EXPECT_EQ(screen_colour(3, 8), 200 + 100 * 256);
    EXPECT_EQ(screen_colour(11, 8), 128 + 100 * 256);
    EXPECT_EQ(lit_pixels(0, 0, 32, 20), 2 * 8 * 16);
}

TEST_F(PrintTextTest, ProportionalSpaceIsAsWideAsJ) {
    ImageBuffer picture;
    picture.size_for(256, 128);
    auto ink = [&](int32_t c, int32_t from, int32_t to) {
        for (int32_t y = 0; y < 16; ++y) {
            for (int32_t x = from; x <= to; ++x) {
                uint8_t* p = picture.pixel(16 * (c % 16) + x, 16 * (c / 16) + y);
                p[0] = p[1] = p[2] = p[3] = 255;
            }
        }
    };
    ink('j', 4, 9);  // 6 columns of ink, 7 wide
    ink('X', 2, 4);  // 3 columns of ink, 4 wide
    use_sheet(4, picture);
    EXPECT_EQ(text_width(" ", true), text_width("j", true));
    print_text(" X", 0, 0, true);
    // The space draws nothing here; X's ink follows after the width of j.
    EXPECT_EQ(lit_pixels(0, 0, 7, 16), 0);
    EXPECT_EQ(screen_colour(7, 3), 0xFFFFFF);
    EXPECT_EQ(screen_colour(9, 3), 0xFFFFFF);
    EXPECT_EQ(lit_pixels(0, 0, 30, 16), 3 * 16);
}

TEST_F(PrintTextTest, AlphaModeFadesText) {
    ASSERT_TRUE(install_builtin_font(1));
    set_font(1);
    set_alpha_mode(-0.5);
    print_text("A", 0, 0, false);
    // "A" lights glyph pixel (1, 0), cell pixel (2, 1): white at half strength.
    EXPECT_NEAR(screen_colour(2, 1) & 255, 128, 2);
}

TEST_F(PrintTextTest, FontWithoutSheetDrawsNothing) {
    set_font(9);
    print_text("Hello", 0, 0, false);
    EXPECT_EQ(lit_pixels(0, 0, 40, 20), 0);
    EXPECT_EQ(text_width("Hello", false), 0);
}

TEST_F(PrintTextTest, WholeTextIsOneStripOfFourVerticesACharacter) {
    ASSERT_TRUE(install_builtin_font(1));
    set_font(1);
    print_text("abc", 0, 0, false);
    const std::vector<TextVertex>& strip = draw_state().text_vertices;
    ASSERT_EQ(strip.size(), 12u);
    // Neighbours share their edge: the joins have no area.
    EXPECT_FLOAT_EQ(strip[2].x, strip[4].x);
    EXPECT_FLOAT_EQ(strip[3].y, strip[5].y);
    EXPECT_FLOAT_EQ(strip[11].x, 24);
}

}  // namespace
}  // namespace vexel
