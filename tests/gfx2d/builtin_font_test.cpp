#include <gtest/gtest.h>

#include "gfx2d/draw_state.h"
#include "gfx2d/draw_test_support.h"
#include "gfx2d/font_sheets.h"
#include "gfx2d/texture_store.h"

namespace vexel {
namespace {

std::array<uint8_t, 4> rgba_at(const ImageBuffer& picture, int32_t x, int32_t y) {
    const uint8_t* p = picture.pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

constexpr std::array<uint8_t, 4> kLit{255, 255, 255, 255};
constexpr std::array<uint8_t, 4> kOutline{8, 8, 8, 255};
constexpr std::array<uint8_t, 4> kClear{0, 0, 0, 0};

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

class BuiltinFontTest : public testing::DrawTest {
protected:
    const SpriteSlot& font_slot(int32_t font) {
        return *texture_store().slot(kFirstFontSlot + font);
    }
    const GlyphRecord& glyph(int32_t font, int32_t c) { return draw_state().fonts[font][c]; }
};

TEST_F(BuiltinFontTest, FillsItsSheetSlotAndEveryGlyph) {
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

}  // namespace
}  // namespace vexel
