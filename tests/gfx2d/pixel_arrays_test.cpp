#include <gtest/gtest.h>

#include <cstring>

#include "gfx2d/pixel_arrays.h"

namespace vexel {
namespace {

TEST(PixelArraysTest, PackingPutsRedLowAndAlphaHigh) {
    ImageBuffer picture;
    picture.size_for(2, 2);
    const uint8_t bytes[16] = {1, 2, 3, 4, 255, 0, 128, 255, 0, 0, 0, 0, 9, 8, 7, 128};
    std::memcpy(picture.pixels(), bytes, 16);
    ExactIntArray array;
    pack_pixels(picture, array);
    ASSERT_EQ(array.count(), 4);
    EXPECT_EQ(array.dims(), 1);
    EXPECT_EQ(array.at(0), 0x04030201);
    EXPECT_EQ(array.at(1), static_cast<int32_t>(0xFF8000FFu));
    EXPECT_EQ(array.at(2), 0);
    EXPECT_EQ(array.at(3), static_cast<int32_t>(0x80070809u));
}

TEST(PixelArraysTest, UnpackingIsTheInverse) {
    ExactIntArray array;
    array.dim(6);
    for (int32_t i = 0; i < 6; ++i)
        array.at(i) = static_cast<int32_t>(0x9E3779B9u * uint32_t(i + 1));
    ImageBuffer picture;
    ASSERT_TRUE(unpack_pixels(array, 3, 2, picture));
    EXPECT_EQ(picture.width(), 3);
    EXPECT_EQ(picture.height(), 2);
    ExactIntArray again;
    pack_pixels(picture, again);
    ASSERT_EQ(again.count(), 6);
    for (int32_t i = 0; i < 6; ++i)
        EXPECT_EQ(again.at(i), array.at(i));
}

TEST(PixelArraysTest, CountMustMatchTheSize) {
    ExactIntArray array;
    array.dim(6);
    ImageBuffer picture;
    EXPECT_FALSE(unpack_pixels(array, 2, 2, picture));
    EXPECT_FALSE(unpack_pixels(array, 7, 1, picture));
    EXPECT_FALSE(unpack_pixels(array, -2, -3, picture));
    EXPECT_EQ(picture.pixels(), nullptr);
    ExactIntArray two_dimensions;
    two_dimensions.dim(3, 2);
    EXPECT_TRUE(unpack_pixels(two_dimensions, 2, 3, picture));
}

}  // namespace
}  // namespace vexel
