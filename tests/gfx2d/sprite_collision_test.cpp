#include <gtest/gtest.h>

#include <vexel/draw.h>
#include <vexel/sprites.h>

#include "gfx2d/draw_test_support.h"
#include "gfx2d/texture_store.h"

namespace vexel {
namespace {

using testing::solid_picture;

class SpriteCollisionTest : public testing::DrawTest {};

TEST_F(SpriteCollisionTest, RectanglesThatOnlyTouchDoNotCollide) {
    make_sprite(1, solid_picture(32, 32, 0xFFFFFF));
    make_sprite(2, solid_picture(32, 32, 0xFFFFFF));
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 32, 0), 0);
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 0, 32), 0);
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 31, 31), 1);
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 40, 0), 0);
}

TEST_F(SpriteCollisionTest, OnePixelOverlapCollidesOnlyWhenOpaqueInBoth) {
    ImageBuffer first = solid_picture(32, 32, 0xFFFFFF);
    first.pixel(31, 31)[3] = 0;  // its bottom-right corner is clear
    make_sprite(1, first);
    make_sprite(2, solid_picture(32, 32, 0xFFFFFF));
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 31, 31), 0);
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 30, 31), 1);
    EXPECT_EQ(sprite_collision(2, 31, 31, 1, 0, 0), 0);
}

TEST_F(SpriteCollisionTest, OnlyOverlappingSolidPixelsCount) {
    // Two sprites with a single solid pixel each, at different places of the overlap.
    ImageBuffer a = solid_picture(8, 8, 0xFFFFFF, 0);
    ImageBuffer b = solid_picture(8, 8, 0xFFFFFF, 0);
    a.pixel(1, 6)[3] = 255;
    b.pixel(5, 2)[3] = 255;
    make_sprite(1, a);
    make_sprite(2, b);
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 0, 0), 0);
    // b moved so that its pixel (5, 2) falls on a's pixel (1, 6).
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, -4, 4), 1);
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, -3, 4), 0);
}

TEST_F(SpriteCollisionTest, MaskIsReadOnceAndDroppedWhenTheSlotChanges) {
    make_sprite(1, solid_picture(20, 10, 0xFFFFFF));
    make_sprite(2, solid_picture(4, 4, 0xFFFFFF));
    EXPECT_TRUE(texture_store().alpha_mask(1).empty());
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 5, 5), 1);
    EXPECT_EQ(texture_store().alpha_mask(1).size(), 32u * 16u);
    make_sprite(1, solid_picture(20, 10, 0xFFFFFF, 0));
    EXPECT_TRUE(texture_store().alpha_mask(1).empty());
    EXPECT_EQ(sprite_collision(1, 0, 0, 2, 5, 5), 0);
}

TEST_F(SpriteCollisionTest, EmptyAndUnknownSlotsNeverCollide) {
    make_sprite(1, solid_picture(8, 8, 0xFFFFFF));
    EXPECT_EQ(sprite_collision(1, 0, 0, 5, 0, 0), 0);
    EXPECT_EQ(sprite_collision(1, 0, 0, 70000, 0, 0), 0);
    EXPECT_EQ(sprite_collision(-1, 0, 0, 1, 0, 0), 0);
    EXPECT_EQ(sprite_collision(1, INT32_MAX, 0, 1, INT32_MAX - 2, 0), 1);
}

TEST_F(SpriteCollisionTest, AnimationFramesCollideByTheirOwnPixels) {
    // A strip of two 8 x 8 frames: frame 0 clear, frame 1 solid.
    ImageBuffer strip = solid_picture(16, 8, 0xFFFFFF);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x)
            strip.pixel(x, y)[3] = 0;
    }
    make_sprite(1, strip);
    set_sprite_frame_size(1, 8, 8);
    make_sprite(2, solid_picture(4, 4, 0xFFFFFF));
    EXPECT_EQ(animation_collision(1, 0, 0, 0, 2, 0, 2, 2), 0);
    EXPECT_EQ(animation_collision(1, 1, 0, 0, 2, 0, 2, 2), 1);
    // The frame's rectangle is 8 wide: touching at x = 8 is no overlap.
    EXPECT_EQ(animation_collision(1, 1, 0, 0, 2, 0, 8, 0), 0);
    // A frame beyond the picture has no pixels.
    EXPECT_EQ(animation_collision(1, 9, 0, 0, 2, 0, 2, 2), 0);
    EXPECT_EQ(animation_collision(1, -3, 0, 0, 2, 0, 2, 2), 0);
}

// A one-pixel overlap left of or above the origin: the first probe must stay inside the
// overlap, not land on the next frame of the strip.
TEST_F(SpriteCollisionTest, OnePixelOverlapAtNegativePositionsReadsOnlyTheFrame) {
    // Frames of 16 x 16: frame 0 clear, frame 1 solid; beside each other and above each other.
    ImageBuffer wide = solid_picture(32, 16, 0xFFFFFF);
    ImageBuffer tall = solid_picture(16, 32, 0xFFFFFF);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x)
            wide.pixel(x, y)[3] = tall.pixel(x, y)[3] = 0;
    }
    make_sprite(1, wide);
    set_sprite_frame_size(1, 16, 16);
    make_sprite(3, tall);
    set_sprite_frame_size(3, 16, 16);
    make_sprite(2, solid_picture(16, 16, 0xFFFFFF));
    struct Case {
        int32_t sprite, frame, x, y, other_x, other_y, hit;
    };
    for (const Case& c :
         {Case{1, 0, -16, 0, -1, 0, 0}, Case{1, 1, -16, 0, -1, 0, 1}, Case{3, 0, 0, -16, 0, -1, 0},
          Case{3, 1, 0, -16, 0, -1, 1}, Case{1, 0, -16, -16, -1, -1, 0}}) {
        EXPECT_EQ(animation_collision(c.sprite, c.frame, c.x, c.y, 2, 0, c.other_x, c.other_y),
                  c.hit)
            << "sprite " << c.sprite << " frame " << c.frame << " at " << c.x << ", " << c.y;
    }
}

}  // namespace
}  // namespace vexel
