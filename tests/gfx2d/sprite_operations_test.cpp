#include <gtest/gtest.h>

#include "gfx2d/backgrounds.h"
#include "gfx2d/gl_test_support.h"
#include "gfx2d/image_filters.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_layout.h"
#include "gfx2d/texture_store.h"
#include "platform/opengl_duderedi.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::pattern_picture;
using testing::same_pixels;
using testing::texture_level;
using testing::texture_parameter;

class SpriteOperationsTest : public ::testing::Test {
protected:
    SpriteSlot& slot(int32_t n) { return *texture_store().slot(n); }

    testing::HeadlessEngine engine_;
};

TEST_F(SpriteOperationsTest, OnePixelMakesASixteenSquareTexture) {
    ASSERT_TRUE(create_sprite(7, pattern_picture(1, 1), false));
    const SpriteSlot& s = slot(7);
    EXPECT_EQ(s.width, 1);
    EXPECT_EQ(s.height, 1);
    EXPECT_EQ(s.texture_width, 16);
    EXPECT_EQ(s.texture_height, 16);
    EXPECT_FLOAT_EQ(s.u_extent, 0.0625f);
    EXPECT_FLOAT_EQ(s.v_extent, 0.0625f);
    ASSERT_NE(s.texture, 0u);
    const ImageBuffer texels = texture_level(s.texture, 0);
    EXPECT_EQ(texels.width(), 16);
    EXPECT_EQ(texels.height(), 16);
    EXPECT_EQ(texels.pixel(0, 0)[0], 3);
    EXPECT_EQ(texels.pixel(1, 0)[3], 0);
}

TEST_F(SpriteOperationsTest, WidePictureGetsASquareMipmappedCopy) {
    const ImageBuffer picture = pattern_picture(17, 16);
    ASSERT_TRUE(create_sprite(3, picture, false));
    const SpriteSlot& s = slot(3);
    EXPECT_EQ(s.texture_width, 32);
    EXPECT_EQ(s.texture_height, 16);
    EXPECT_FLOAT_EQ(s.u_extent, 17.0f / 32);
    EXPECT_FLOAT_EQ(s.v_extent, 1.0f);

    // Level 0 is the picture upside down in the lower-left corner.
    TextureBlock block;
    ASSERT_TRUE(build_texture_block(picture, 0, 0, 0, 0, 4096, block));
    EXPECT_TRUE(same_pixels(texture_level(s.texture, 0), block.texels));
    EXPECT_EQ(texture_parameter(s.texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(texture_parameter(s.texture, GL_TEXTURE_WRAP_S), GL_REPEAT);

    ASSERT_NE(s.mip_texture, 0u);
    EXPECT_EQ(texture_parameter(s.mip_texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    ImageBuffer level = make_mip_square(block.texels);
    ASSERT_EQ(level.width(), 16);
    for (int32_t n = 0; n <= 4; ++n) {
        EXPECT_TRUE(same_pixels(texture_level(s.mip_texture, n), level)) << "level " << n;
        if (level.width() > 1) level = reduce_mip_level(level);
    }
    EXPECT_EQ(texture_level(s.mip_texture, 4).width(), 1);
}

TEST_F(SpriteOperationsTest, FontSlotsAreNearestWithoutMipmapsOrNormals) {
    const ImageBuffer picture = pattern_picture(20, 10);
    ASSERT_TRUE(create_sprite(kFirstFontSlot + 2, picture, true));
    const SpriteSlot& s = slot(kFirstFontSlot + 2);
    EXPECT_EQ(s.mip_texture, 0u);
    EXPECT_EQ(texture_parameter(s.texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
    EXPECT_EQ(texture_parameter(s.texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    TextureBlock block;
    ASSERT_TRUE(build_texture_block(picture, 0, 0, 0, 0, 4096, block));
    EXPECT_TRUE(same_pixels(texture_level(s.texture, 0), block.texels));
}

TEST_F(SpriteOperationsTest, NormalFlagUploadsTheNormalMap) {
    const ImageBuffer picture = pattern_picture(8, 8);
    ASSERT_TRUE(create_sprite(9, picture, true));
    TextureBlock block;
    ASSERT_TRUE(build_texture_block(picture, 0, 0, 0, 0, 4096, block));
    make_normal_map(block.texels);
    EXPECT_TRUE(same_pixels(texture_level(slot(9).texture, 0), block.texels));
}

TEST_F(SpriteOperationsTest, UploadReusesAGivenNameForANewTexture) {
    uint32_t texture = 0;
    ASSERT_TRUE(upload_texture(pattern_picture(40, 20), 0, 0, 0, 0, texture, nullptr, false, true));
    const uint32_t first = texture;
    EXPECT_EQ(texture_level(texture, 0).width(), 64);
    ASSERT_TRUE(upload_texture(pattern_picture(5, 5), 0, 0, 0, 0, texture, nullptr, false, false));
    EXPECT_EQ(texture, first);
    EXPECT_EQ(texture_level(texture, 0).width(), 16);
    EXPECT_EQ(texture_parameter(texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_FALSE(upload_texture(pattern_picture(5, 5), 5, 0, 0, 0, texture, nullptr, false, false));
}

TEST_F(SpriteOperationsTest, EmptyPictureLeavesTheSlotEmpty) {
    ASSERT_TRUE(create_sprite(4, pattern_picture(3, 3), false));
    EXPECT_FALSE(create_sprite(4, ImageBuffer(), false));
    EXPECT_EQ(slot(4).width, 0);
    EXPECT_EQ(slot(4).texture, 0u);
    EXPECT_EQ(slot(4).texture_width, -1);
}

TEST_F(SpriteOperationsTest, FreeingKeepsTheFrameSizeAndDeletesTheTextures) {
    ASSERT_TRUE(create_sprite(5, pattern_picture(32, 32), false));
    SpriteSlot& s = slot(5);
    s.frame_width = 8;
    s.frame_height = 4;
    texture_store().alpha_mask(5).assign(16, 1);
    const GLuint texture = s.texture;
    const GLuint mip = s.mip_texture;
    free_sprite(5);
    EXPECT_EQ(s.texture, 0u);
    EXPECT_EQ(s.mip_texture, 0u);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.height, 0);
    EXPECT_EQ(s.texture_width, -1);
    EXPECT_EQ(s.texture_height, -1);
    EXPECT_EQ(s.u_extent, 1.0f);
    EXPECT_EQ(s.v_extent, 1.0f);
    EXPECT_EQ(s.frame_width, 8);
    EXPECT_EQ(s.frame_height, 4);
    EXPECT_TRUE(texture_store().alpha_mask(5).empty());
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_FALSE(glIsTexture(mip));
}

TEST_F(SpriteOperationsTest, ReadingBackGivesThePictureUpright) {
    const ImageBuffer picture = pattern_picture(21, 13);
    ASSERT_TRUE(create_sprite(11, picture, false));
    ImageBuffer read;
    ASSERT_TRUE(read_sprite_pixels(11, read));
    EXPECT_TRUE(same_pixels(read, picture));
    EXPECT_FALSE(read_sprite_pixels(12, read));
}

TEST_F(SpriteOperationsTest, OutOfTableNumbersAreIgnored) {
    EXPECT_FALSE(create_sprite(-1, pattern_picture(2, 2), false));
    EXPECT_FALSE(create_sprite(kSpriteSlotCount, pattern_picture(2, 2), false));
    free_sprite(-5);
    free_sprite(kSpriteSlotCount + 9);
    ImageBuffer read;
    EXPECT_FALSE(read_sprite_pixels(70000, read));
    EXPECT_FALSE(load_sprite_file(-3, "anything.bmp", -1, false));
}

TEST_F(SpriteOperationsTest, DestroyingTheWindowEmptiesEverySlotAndBackground) {
    ASSERT_TRUE(create_sprite(0, pattern_picture(4, 4), false));
    ASSERT_TRUE(create_sprite(kFirstFontSlot, pattern_picture(4, 4), false));
    testing::suspend_leak_checks();  // the driver keeps the code it builds for copying
    copy_screen_to_background(3);
    testing::resume_leak_checks();
    ASSERT_NE(texture_store().background(3)->columns, 0);
    platform::opengl_duderedi()->destroy_window();
    EXPECT_EQ(slot(0).width, 0);
    EXPECT_EQ(slot(0).texture, 0u);
    EXPECT_EQ(slot(kFirstFontSlot).texture, 0u);
    EXPECT_EQ(texture_store().background(3)->columns, 0);
    EXPECT_EQ(texture_store().background(3)->tiles[0], 0u);
}

}  // namespace
}  // namespace vexel
