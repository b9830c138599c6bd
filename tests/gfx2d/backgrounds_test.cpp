#include <gtest/gtest.h>

#include "gfx2d/backgrounds.h"
#include "gfx2d/gl_test_support.h"
#include "gfx2d/texture_store.h"
#include "image/image_encoders.h"
#include "platform/opengl_duderedi.h"
#include "platform/render_hooks.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using testing::fill_window;
using testing::texture_level;

// Each pixel's bytes say where it came from: x and y in 12 bits each, and full alpha.
ImageBuffer position_picture(int32_t w, int32_t h) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x >> 8 | (y >> 8) << 4);
            p[3] = 255;
        }
    }
    return picture;
}

bool texel_is(const ImageBuffer& texels, int32_t tx, int32_t ty, int32_t x, int32_t y) {
    const uint8_t* p = texels.pixel(tx, ty);
    return p[0] == (x & 255) && p[1] == (y & 255) && p[2] == (x >> 8 | (y >> 8) << 4) &&
           p[3] == 255;
}

class BackgroundsTest : public ::testing::Test {
protected:
    BackgroundSlot& background(int32_t n) { return *texture_store().background(n); }
    std::string saved_png(int32_t w, int32_t h) {
        const std::string name = engine_.temp().file("picture.png");
        EXPECT_TRUE(encode_png(name.c_str(), position_picture(w, h)));
        return name;
    }

    testing::HeadlessEngine engine_;
};

TEST_F(BackgroundsTest, LargePictureIsCutIntoTilesOf512) {
    ASSERT_TRUE(load_background_file(1, saved_png(1000, 700).c_str()));
    BackgroundSlot& b = background(1);
    EXPECT_EQ(b.columns, 2);
    EXPECT_EQ(b.rows, 2);
    for (int32_t column = 0; column < 2; ++column) {
        for (int32_t row = 0; row < 2; ++row) {
            const int32_t index = column * 8 + row;
            ASSERT_NE(b.tiles[index], 0u);
            EXPECT_EQ(b.tile_texture_width[index], 512);
            EXPECT_EQ(b.tile_texture_height[index], 512);
            EXPECT_EQ(b.tile_covered_width[index], 512);
            EXPECT_EQ(b.tile_covered_height[index], 512);
        }
    }
    EXPECT_EQ(b.tiles[2], 0u);
    // Tile (1, 1) holds picture pixels 512..999 x 512..699 from its top-left corner down.
    const ImageBuffer texels = texture_level(b.tiles[1 * 8 + 1], 0);
    ASSERT_EQ(texels.width(), 512);
    EXPECT_TRUE(texel_is(texels, 0, 511, 512, 512));
    EXPECT_TRUE(texel_is(texels, 487, 511 - 187, 999, 699));
    EXPECT_EQ(texels.pixel(488, 511)[3], 0);
    EXPECT_EQ(texels.pixel(0, 511 - 188)[3], 0);
    EXPECT_TRUE(texel_is(texture_level(b.tiles[0], 0), 5, 511 - 9, 5, 9));
}

TEST_F(BackgroundsTest, PicturesBeyondEightTilesAreCropped) {
    ASSERT_TRUE(load_background_file(2, saved_png(4700, 3).c_str()));
    EXPECT_EQ(background(2).columns, 8);
    EXPECT_EQ(background(2).rows, 1);
    EXPECT_NE(background(2).tiles[7 * 8], 0u);
}

TEST_F(BackgroundsTest, UndecodableFileKeepsThePictureItHad) {
    ASSERT_TRUE(load_background_file(0, saved_png(20, 20).c_str()));
    EXPECT_TRUE(has_screen_background());
    EXPECT_TRUE(platform::render_hooks().has_background());
    testing::write_file(engine_.temp().file("bad.png"), "not a picture");
    EXPECT_FALSE(load_background_file(0, engine_.temp().file("bad.png").c_str()));
    EXPECT_FALSE(load_background_file(0, engine_.temp().file("absent.png").c_str()));
    // The old picture goes only once a new one has been decoded.
    EXPECT_TRUE(has_screen_background());
    EXPECT_FALSE(load_background_file(8, saved_png(20, 20).c_str()));
    EXPECT_FALSE(load_background_file(-1, saved_png(20, 20).c_str()));
}

TEST_F(BackgroundsTest, RemovingDeletesEveryTile) {
    ASSERT_TRUE(load_background_file(5, saved_png(600, 100).c_str()));
    const GLuint first = background(5).tiles[0];
    const GLuint second = background(5).tiles[8];
    remove_background(5);
    EXPECT_EQ(background(5).columns, 0);
    EXPECT_EQ(background(5).tiles[0], 0u);
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_FALSE(glIsTexture(second));
    remove_background(8);
    remove_background(-1);
}

class ScreenCopyTest : public BackgroundsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ScreenCopyTest, CopiesTheWindowIntoOneSquareTile) {
    platform::opengl_duderedi()->bgra_supported = GetParam();
    fill_window(0, 0, 640, 480, 0x000000);
    fill_window(0, 0, 1, 1, 0x0000FF);      // top-left
    fill_window(639, 479, 1, 1, 0x00FF00);  // bottom-right
    copy_screen_to_background(0);
    BackgroundSlot& b = background(0);
    EXPECT_EQ(b.columns, 1);
    EXPECT_EQ(b.rows, 1);
    EXPECT_EQ(b.tile_texture_width[0], 1024);
    EXPECT_EQ(b.tile_texture_height[0], 1024);
    EXPECT_EQ(b.tile_covered_width[0], 640);
    EXPECT_EQ(b.tile_covered_height[0], 480);
    // The framebuffer's bottom-left pixel is texel (0, 0).
    const ImageBuffer texels = texture_level(b.tiles[0], 0);
    EXPECT_EQ(texels.pixel(0, 479)[0], 255);
    EXPECT_EQ(texels.pixel(639, 0)[1], 255);
    EXPECT_EQ(texels.pixel(0, 0)[1], 0);

    const GLuint tile = b.tiles[0];
    copy_screen_to_background(0);
    EXPECT_EQ(b.tiles[0], tile);
    copy_screen_to_background(9);
}

INSTANTIATE_TEST_SUITE_P(BothCopyPaths, ScreenCopyTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Direct" : "ThroughMemory"; });

}  // namespace
}  // namespace vexel
