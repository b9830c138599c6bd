#include <gtest/gtest.h>

#include <cmath>

#include "gfx2d/image_filters.h"
#include "image/decoder_test_support.h"

namespace vexel {
namespace {

using testing::rgba;
using testing::rgba_at;

ImageBuffer height_field(int32_t w, int32_t h, uint8_t level, uint8_t alpha) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = 33;  // red and green play no part
            p[1] = 66;
            p[2] = level;
            p[3] = alpha;
        }
    }
    return picture;
}

TEST(NormalMapTest, FlatHeightPointsStraightUp) {
    ImageBuffer picture = height_field(4, 4, 140, 77);
    make_normal_map(picture);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(rgba_at(picture, x, y), rgba(127, 127, 255, 77));
}

TEST(NormalMapTest, SlopesTiltTheNormalAwayFromTheHighSide) {
    // A ridge of full height in column 2 of a 5 x 4 field.
    ImageBuffer picture = height_field(5, 4, 0, 255);
    for (int32_t y = 0; y < 4; ++y)
        picture.pixel(2, y)[2] = 255;
    make_normal_map(picture);
    // Left of the ridge: gx = 4, so nx = -4, k = 1 / sqrt(17).
    const float k = 1.0f / std::sqrt(17.0f);
    const auto low = static_cast<uint8_t>((-4 * k + 1) * 0.5f * 255);
    const auto high = static_cast<uint8_t>((4 * k + 1) * 0.5f * 255);
    const auto up = static_cast<uint8_t>((k + 1) * 0.5f * 255);
    EXPECT_EQ(rgba_at(picture, 1, 2), rgba(low, 127, up, 255));
    EXPECT_EQ(rgba_at(picture, 3, 2), rgba(high, 127, up, 255));
    EXPECT_EQ(rgba_at(picture, 2, 2), rgba(127, 127, 255, 255));  // the crest is flat across
}

TEST(NormalMapTest, HeightsWrapAroundEveryEdge) {
    // A ridge in row 0 is the neighbour of the last row, as the field tiles.
    ImageBuffer picture = height_field(4, 6, 0, 255);
    for (int32_t x = 0; x < 4; ++x)
        picture.pixel(x, 0)[2] = 255;
    make_normal_map(picture);
    const float k = 1.0f / std::sqrt(17.0f);
    // Row 5 has the ridge "above" (row 0): gy = +4; row 1 has it below: gy = -4.
    EXPECT_EQ(picture.pixel(2, 5)[1], static_cast<uint8_t>((4 * k + 1) * 0.5f * 255));
    EXPECT_EQ(picture.pixel(2, 1)[1], static_cast<uint8_t>((-4 * k + 1) * 0.5f * 255));
    EXPECT_EQ(picture.pixel(2, 3)[1], 127);
}

}  // namespace
}  // namespace vexel
