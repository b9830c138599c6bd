#include <gtest/gtest.h>

#include "gfx2d/texture_layout.h"
#include "image/decoder_test_support.h"

namespace vexel {
namespace {

using testing::rgba;
using testing::rgba_at;

// Each pixel's bytes say where it came from: (x, y, 7, 255).
ImageBuffer numbered(int32_t w, int32_t h) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = 7;
            p[3] = 255;
        }
    }
    return picture;
}

bool all_clear_outside(const ImageBuffer& texels, int32_t w, int32_t h) {
    for (int32_t y = 0; y < texels.height(); ++y)
        for (int32_t x = 0; x < texels.width(); ++x)
            if ((x >= w || y >= h) && rgba_at(texels, x, y) != rgba(0, 0, 0, 0)) return false;
    return true;
}

TEST(TextureLayoutTest, PowerOfTwoSizesStartAtSixteen) {
    EXPECT_EQ(power_of_two_size(0), 16);
    EXPECT_EQ(power_of_two_size(1), 16);
    EXPECT_EQ(power_of_two_size(16), 16);
    EXPECT_EQ(power_of_two_size(17), 32);
    EXPECT_EQ(power_of_two_size(100), 128);
    EXPECT_EQ(power_of_two_size(1024), 1024);
    EXPECT_EQ(power_of_two_size(1025), 2048);
    EXPECT_EQ(power_of_two_size(16384), 16384);
}

TEST(TextureLayoutTest, OnePixelMakesASixteenSquareTexture) {
    TextureBlock block;
    ASSERT_TRUE(build_texture_block(numbered(1, 1), 0, 0, 0, 0, 2048, block));
    EXPECT_EQ(block.width, 1);
    EXPECT_EQ(block.height, 1);
    EXPECT_EQ(block.texels.width(), 16);
    EXPECT_EQ(block.texels.height(), 16);
    EXPECT_EQ(rgba_at(block.texels, 0, 0), rgba(0, 0, 7, 255));
    EXPECT_TRUE(all_clear_outside(block.texels, 1, 1));
}

TEST(TextureLayoutTest, PictureSitsUpsideDownInTheLowerLeftCorner) {
    TextureBlock block;
    ASSERT_TRUE(build_texture_block(numbered(17, 16), 0, 0, 0, 0, 2048, block));
    EXPECT_EQ(block.texels.width(), 32);
    EXPECT_EQ(block.texels.height(), 16);
    // Texel row 0 holds the picture's bottom row (y = 15).
    EXPECT_EQ(rgba_at(block.texels, 0, 0), rgba(0, 15, 7, 255));
    EXPECT_EQ(rgba_at(block.texels, 16, 0), rgba(16, 15, 7, 255));
    EXPECT_EQ(rgba_at(block.texels, 5, 15), rgba(5, 0, 7, 255));
    EXPECT_TRUE(all_clear_outside(block.texels, 17, 16));
}

TEST(TextureLayoutTest, BlocksOfALargerPictureKeepTheirOwnRows) {
    // The tile at column 1, row 0 of a 40 x 20 picture cut into 32 x 32 tiles.
    TextureBlock block;
    ASSERT_TRUE(build_texture_block(numbered(40, 20), 32, 0, 32, 32, 2048, block));
    EXPECT_EQ(block.texels.width(), 32);
    EXPECT_EQ(block.texels.height(), 32);
    // Row 31 of the block holds picture row 0; the picture ends after 20 rows and 8 columns.
    EXPECT_EQ(rgba_at(block.texels, 0, 31), rgba(32, 0, 7, 255));
    EXPECT_EQ(rgba_at(block.texels, 7, 12), rgba(39, 19, 7, 255));
    EXPECT_EQ(rgba_at(block.texels, 8, 31), rgba(0, 0, 0, 0));
    EXPECT_EQ(rgba_at(block.texels, 0, 11), rgba(0, 0, 0, 0));
}

TEST(TextureLayoutTest, OversizedPicturesAreCroppedToTheMaximum) {
    TextureBlock block;
    ASSERT_TRUE(build_texture_block(numbered(70, 10), 0, 0, 0, 0, 64, block));
    EXPECT_EQ(block.width, 64);
    EXPECT_EQ(block.texels.width(), 64);
    EXPECT_EQ(rgba_at(block.texels, 63, 9), rgba(63, 0, 7, 255));
}

TEST(TextureLayoutTest, EmptyBlocksFail) {
    TextureBlock block;
    EXPECT_FALSE(build_texture_block(numbered(4, 4), 4, 0, 0, 0, 64, block));
    EXPECT_FALSE(build_texture_block(numbered(4, 4), 0, 0, -2, 3, 64, block));
    EXPECT_FALSE(build_texture_block(ImageBuffer(), 0, 0, 0, 0, 64, block));
}

TEST(TextureLayoutTest, MipSquareHalvesTheLongerSide) {
    ImageBuffer wide;
    wide.size_for(32, 16);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 32; ++x) {
            uint8_t* p = wide.pixel(x, y);
            p[0] = static_cast<uint8_t>(x % 2 == 0 ? 10 : 15);  // pairs average down: 12
            p[1] = static_cast<uint8_t>(x * 8);
            p[2] = static_cast<uint8_t>(y);
            p[3] = 255;
        }
    }
    const ImageBuffer square = make_mip_square(wide);
    EXPECT_EQ(square.width(), 16);
    EXPECT_EQ(square.height(), 16);
    EXPECT_EQ(rgba_at(square, 3, 5), rgba(12, (48 + 56) / 2, 5, 255));

    ImageBuffer tall;
    tall.size_for(16, 64);
    for (int32_t y = 0; y < 64; ++y)
        tall.pixel(1, y)[0] = static_cast<uint8_t>(y * 4);
    const ImageBuffer from_tall = make_mip_square(tall);
    EXPECT_EQ(from_tall.width(), 16);
    EXPECT_EQ(from_tall.height(), 16);
    // Rows 0..3 of the original average to row 0 in two halvings: ((0+4)/2 + (8+12)/2) / 2.
    EXPECT_EQ(from_tall.pixel(1, 0)[0], (2 + 10) / 2);
}

TEST(TextureLayoutTest, ReductionWeightsTheBlockAndItsEdges) {
    ImageBuffer level;
    level.size_for(4, 4);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            level.pixel(x, y)[0] = static_cast<uint8_t>(10 * x + 50 * y);
    const ImageBuffer next = reduce_mip_level(level);
    ASSERT_EQ(next.width(), 2);
    ASSERT_EQ(next.height(), 2);
    // Inner texel: (4*c + 2*right + 2*below + below_right) / 9 with c = 0.
    EXPECT_EQ(next.pixel(0, 0)[0], (4 * 0 + 2 * 10 + 2 * 50 + 60) / 9);
    // Last column (not last row): (2 * centre + below) / 3, centre (2, 0) = 20, below 70.
    EXPECT_EQ(next.pixel(1, 0)[0], (2 * 20 + 70) / 3);
    // Last row: (2 * centre + right) / 3, centre (0, 2) = 100, right 110.
    EXPECT_EQ(next.pixel(0, 1)[0], (2 * 100 + 110) / 3);
    // The last texel of the last row is the centre unchanged: (2, 2) = 120.
    EXPECT_EQ(next.pixel(1, 1)[0], 120);
}

TEST(TextureLayoutTest, ChainEndsAtOneTexel) {
    ImageBuffer level;
    level.size_for(16, 16);
    int levels = 1;
    while (level.width() > 1) {
        level = reduce_mip_level(level);
        ++levels;
    }
    EXPECT_EQ(levels, 5);  // 16, 8, 4, 2, 1
    EXPECT_EQ(level.height(), 1);
}

}  // namespace
}  // namespace vexel
