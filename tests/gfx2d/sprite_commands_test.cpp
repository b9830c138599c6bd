#include <gtest/gtest.h>

#include <vexel/error.h>
#include <vexel/sprites.h>

#include "gfx2d/colour_value.h"
#include "gfx2d/texture_store.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::ScopedTempDir;

// 4 x 4 in 24 bits: the ring of 12 border pixels grey, the inner 2 x 2 block red, green, blue
// and the sprite colour key.
std::string keyed_bmp() {
    testing::BmpSpec spec;
    spec.width = 4;
    spec.height = 4;
    spec.values.assign(16, 0x404040);
    spec.values[5] = 0xFF0000;
    spec.values[6] = 0x00FF00;
    spec.values[9] = 0x0000FF;
    spec.values[10] = 0xFF0080;
    return testing::bmp_bytes(spec);
}

class ImagePixelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::write_file(temp_.file("keyed.bmp"), keyed_bmp());
        name_ = temp_.file("keyed.bmp").c_str();
    }
    void TearDown() override { delete_texture_store(); }

    ScopedTempDir temp_;
    DynString name_;
    ExactIntArray pixels_;
    int32_t width_ = -1;
    int32_t height_ = -1;
};

TEST_F(ImagePixelsTest, KeyedPixelTakesItsInnerNeighboursMean) {
    ASSERT_TRUE(load_image_pixels(name_, width_, height_, pixels_));
    EXPECT_EQ(width_, 4);
    EXPECT_EQ(height_, 4);
    ASSERT_EQ(pixels_.count(), 16);
    EXPECT_EQ(pixels_.at(5), static_cast<int32_t>(0xFF0000FFu));  // red, opaque
    // (2, 2) was the key: transparent, coloured with the mean of red, green and blue (the
    // inner neighbours; the grey ring lies on the border and does not count).
    EXPECT_EQ(pixels_.at(10), 85 + 85 * 256 + 85 * 65536);
    EXPECT_EQ(pixels_.at(0), static_cast<int32_t>(0xFF404040u));
}

TEST_F(ImagePixelsTest, NoKeyMeansNothingBecomesTransparent) {
    set_colour_key(-1);
    EXPECT_EQ(texture_store().sprite_colour_key, -1);
    EXPECT_EQ(texture_store().font_colour_key, -1);
    ASSERT_TRUE(load_image_pixels(name_, width_, height_, pixels_));
    EXPECT_EQ(pixels_.at(10), static_cast<int32_t>(0xFF8000FFu));
}

TEST_F(ImagePixelsTest, KeysStartAtTheirDefaults) {
    EXPECT_EQ(texture_store().sprite_colour_key, 255 + 128 * 65536);
    EXPECT_EQ(texture_store().font_colour_key, 0);
    set_colour_key(0x00FF00);
    ASSERT_TRUE(load_image_pixels(name_, width_, height_, pixels_));
    EXPECT_EQ(static_cast<uint32_t>(pixels_.at(6)) >> 24, 0u);
    EXPECT_EQ(static_cast<uint32_t>(pixels_.at(10)) >> 24, 255u);
}

TEST_F(ImagePixelsTest, UnresolvableNameSetsNoSuchFile) {
    set_error(0);
    EXPECT_FALSE(load_image_pixels(temp_.file("absent.bmp").c_str(), width_, height_, pixels_));
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(width_, -1);
}

TEST_F(ImagePixelsTest, UndecodableFileLeavesTheLastErrorAlone) {
    testing::write_file(temp_.file("notes.txt"), "plain text");
    set_error(20);
    EXPECT_FALSE(load_image_pixels(temp_.file("notes.txt").c_str(), width_, height_, pixels_));
    EXPECT_EQ(last_error_code(), 20);
}

TEST_F(ImagePixelsTest, EmptyPictureGivesItsSizeAndFalse) {
    testing::BmpSpec spec;
    spec.width = 0;
    spec.height = 3;
    testing::write_file(temp_.file("empty.bmp"), testing::bmp_bytes(spec));
    EXPECT_FALSE(load_image_pixels(temp_.file("empty.bmp").c_str(), width_, height_, pixels_));
    EXPECT_EQ(width_, 0);
    EXPECT_EQ(height_, 3);
}

}  // namespace
}  // namespace vexel
