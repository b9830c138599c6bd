#include <gtest/gtest.h>

#include "gfx2d/image_filters.h"
#include "image/decoder_test_support.h"

namespace vexel {
namespace {

using testing::rgba;
using testing::rgba_at;

void set(ImageBuffer& picture, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    uint8_t* p = picture.pixel(x, y);
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
}

TEST(TransparentFillTest, TakesTheTruncatedMeanOfOpaqueInnerNeighbours) {
    ImageBuffer picture;
    ASSERT_TRUE(picture.size_for(5, 5));
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 5; ++x)
            set(picture, x, y, 200, 200, 200, 255);
    set(picture, 2, 2, 9, 9, 9, 0);  // the transparent centre
    set(picture, 1, 1, 10, 20, 31, 255);
    set(picture, 3, 3, 11, 0, 0, 1);  // any alpha but 0 counts
    fill_transparent_colours(picture);
    // Neighbours: 6 of 200, (10, 20, 31) and (11, 0, 0).
    EXPECT_EQ(rgba_at(picture, 2, 2),
              rgba((6 * 200 + 10 + 11) / 8, (6 * 200 + 20) / 8, (6 * 200 + 31) / 8, 0));
}

TEST(TransparentFillTest, BorderPixelsNeverCount) {
    ImageBuffer picture;
    ASSERT_TRUE(picture.size_for(3, 3));
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 3; ++x)
            set(picture, x, y, 50, 60, 70, 255);
    set(picture, 1, 1, 0, 0, 0, 0);
    set(picture, 0, 0, 1, 2, 3, 0);
    fill_transparent_colours(picture);
    // Only the centre lies inside the border, and it is transparent: both become black.
    EXPECT_EQ(rgba_at(picture, 1, 1), rgba(0, 0, 0, 0));
    EXPECT_EQ(rgba_at(picture, 0, 0), rgba(0, 0, 0, 0));
    EXPECT_EQ(rgba_at(picture, 2, 2), rgba(50, 60, 70, 255));
}

TEST(TransparentFillTest, FilledPixelsDoNotFeedEachOther) {
    ImageBuffer picture;
    ASSERT_TRUE(picture.size_for(6, 4));
    set(picture, 1, 1, 90, 120, 150, 255);
    fill_transparent_colours(picture);
    // (2, 2) touches (1, 1) diagonally; (3, 2) touches only transparent pixels.
    EXPECT_EQ(rgba_at(picture, 2, 2), rgba(90, 120, 150, 0));
    EXPECT_EQ(rgba_at(picture, 0, 0), rgba(90, 120, 150, 0));
    EXPECT_EQ(rgba_at(picture, 3, 2), rgba(0, 0, 0, 0));
    EXPECT_EQ(rgba_at(picture, 4, 1), rgba(0, 0, 0, 0));
    EXPECT_EQ(rgba_at(picture, 1, 1), rgba(90, 120, 150, 255));
}

TEST(TransparentFillTest, TinyAndEmptyPicturesAreSafe) {
    for (int32_t w : {0, 1, 2}) {
        ImageBuffer picture;
        ASSERT_TRUE(picture.size_for(w, w == 0 ? 0 : 1));
        if (w > 0) set(picture, 0, 0, 5, 5, 5, 0);
        fill_transparent_colours(picture);
        if (w > 0) {
            EXPECT_EQ(rgba_at(picture, 0, 0), rgba(0, 0, 0, 0));
        }
    }
}

}  // namespace
}  // namespace vexel
