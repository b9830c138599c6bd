#include <gtest/gtest.h>

#include <cstring>

#include "image/image_buffer.h"

namespace vexel {
namespace {

TEST(ImageBufferTest, FreshBufferIsEmptyWithAlphaFromSource) {
    ImageBuffer buffer;
    EXPECT_EQ(buffer.width(), 0);
    EXPECT_EQ(buffer.height(), 0);
    EXPECT_EQ(buffer.capacity(), 0);
    EXPECT_EQ(buffer.pixels(), nullptr);
    EXPECT_TRUE(buffer.alpha_from_source());
}

TEST(ImageBufferTest, SizingZeroFillsAndReusesLargeEnoughBlocks) {
    ImageBuffer buffer;
    ASSERT_TRUE(buffer.size_for(4, 3));
    EXPECT_EQ(buffer.capacity(), 48);
    std::memset(buffer.pixels(), 0xAB, 48);
    buffer.set_alpha_from_source(false);
    const uint8_t* block = buffer.pixels();

    ASSERT_TRUE(buffer.size_for(2, 2));  // smaller: the same block, zeroed, flag kept
    EXPECT_EQ(buffer.pixels(), block);
    EXPECT_EQ(buffer.capacity(), 48);
    EXPECT_EQ(buffer.width(), 2);
    EXPECT_FALSE(buffer.alpha_from_source());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(buffer.pixels()[i], 0);

    ASSERT_TRUE(buffer.size_for(5, 5));  // larger: reset first, exactly the bytes needed
    EXPECT_EQ(buffer.capacity(), 100);
    EXPECT_TRUE(buffer.alpha_from_source());
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(buffer.pixels()[i], 0);
}

TEST(ImageBufferTest, PixelAddressesRowsFromTheTop) {
    ImageBuffer buffer;
    ASSERT_TRUE(buffer.size_for(3, 2));
    EXPECT_EQ(buffer.pixel(0, 1) - buffer.pixels(), 12);
    EXPECT_EQ(buffer.pixel(2, 1) - buffer.pixels(), 20);
}

TEST(ImageBufferTest, SizesBeyondTheLimitsAreRefused) {
    ImageBuffer buffer;
    ASSERT_TRUE(buffer.size_for(2, 2));
    EXPECT_FALSE(buffer.size_for(-1, 4));
    EXPECT_EQ(buffer.pixels(), nullptr);
    EXPECT_FALSE(buffer.size_for(kMaxImageSide + 1, 1));
    EXPECT_FALSE(buffer.size_for(kMaxImageSide, kMaxImageSide));
    EXPECT_EQ(buffer.capacity(), 0);
    EXPECT_TRUE(image_size_allowed(kMaxImageSide, 16));
    EXPECT_TRUE(image_size_allowed(0, 0));
}

TEST(ImageBufferTest, MovingHandsThePixelsOver) {
    ImageBuffer a;
    ASSERT_TRUE(a.size_for(2, 1));
    a.set_alpha_from_source(false);
    const uint8_t* block = a.pixels();
    ImageBuffer b = std::move(a);
    EXPECT_EQ(b.pixels(), block);
    EXPECT_EQ(b.width(), 2);
    EXPECT_FALSE(b.alpha_from_source());
    EXPECT_EQ(a.pixels(), nullptr);
    EXPECT_EQ(a.width(), 0);
}

}  // namespace
}  // namespace vexel
