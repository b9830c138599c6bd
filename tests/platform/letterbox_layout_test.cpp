#include "platform/letterbox_layout.h"

#include <gtest/gtest.h>

namespace vexel::platform {
namespace {

struct LayoutCase {
    int32_t game_w, game_h, screen_w, screen_h;
    int32_t left, top, width, height;
    bool whole;
};

TEST(LetterboxLayout, TheLargestPictureOfTheGamesAspectCentredOnTheScreen) {
    const LayoutCase cases[] = {
        {640, 480, 1280, 1024, 0, 32, 1280, 960, true},     // bars above and below
        {640, 480, 1920, 1080, 240, 0, 1440, 1080, false},  // bars left and right
        {640, 480, 1024, 768, 0, 0, 1024, 768, false},      // same aspect: no bars
        {640, 400, 1280, 1024, 0, 112, 1280, 800, true},
        {641, 480, 1280, 1024, 0, 33, 1280, 958, false},     // odd leftover: the extra row below
        {1920, 1080, 1280, 1024, 0, 152, 1280, 720, false},  // scaled down
        {100000, 1, 1280, 1024, 0, 511, 1280, 1, false},     // never thinner than a pixel
        {0, 480, 1280, 1024, 0, 0, 0, 0, false},
        {640, 480, 1280, -1, 0, 0, 0, 0, false},
    };
    for (const LayoutCase& c : cases) {
        const LetterboxLayout at = letterbox_layout(c.game_w, c.game_h, c.screen_w, c.screen_h);
        SCOPED_TRACE(testing::Message()
                     << c.game_w << "x" << c.game_h << " on " << c.screen_w << "x" << c.screen_h);
        EXPECT_EQ(at.left, c.left);
        EXPECT_EQ(at.top, c.top);
        EXPECT_EQ(at.width, c.width);
        EXPECT_EQ(at.height, c.height);
        EXPECT_EQ(scales_by_whole_pixels(at), c.whole);
    }
}

// Positions on the bars, or beyond the screen as a held button can report, land on the game's
// edge.
TEST(LetterboxLayout, ScreenPixelsAtTwiceTheSizeAndOnTheBars) {
    const LetterboxLayout at = letterbox_layout(640, 480, 1280, 1024);
    struct Case {
        int32_t screen_x, screen_y, game_x, game_y;
    };
    const Case cases[] = {
        {0, 32, 0, 0},
        {1, 33, 0, 0},
        {2, 34, 1, 1},
        {1279, 991, 639, 479},
        {0, 0, 0, 0},
        {3, 31, 1, 0},
        {1279, 992, 639, 479},
        {1279, 1023, 639, 479},
        {-1, 32, 0, 0},
        {INT32_MIN, INT32_MAX, 0, 479},
        {INT32_MAX, INT32_MIN, 639, 0},
    };
    for (const Case& c : cases) {
        int32_t x = c.screen_x;
        int32_t y = c.screen_y;
        screen_to_game(at, &x, &y);
        EXPECT_EQ(x, c.game_x) << c.screen_x << ", " << c.screen_y;
        EXPECT_EQ(y, c.game_y) << c.screen_x << ", " << c.screen_y;
    }
}

// Every screen pixel of the picture shows a game pixel, and every game pixel has a screen pixel
// that gives it back, at whole and uneven scales.
TEST(LetterboxLayout, PositionsCrossBothWaysAtAnyScale) {
    const int32_t screens[][2] = {{1280, 1024}, {1024, 768}, {704, 528}, {1920, 1080}};
    for (const auto& screen : screens) {
        const LetterboxLayout at = letterbox_layout(640, 480, screen[0], screen[1]);
        SCOPED_TRACE(testing::Message() << "on " << screen[0] << "x" << screen[1]);
        for (int32_t g = 0; g < 640; ++g) {
            int32_t x = g;
            int32_t y = g % 480;
            game_to_screen(at, &x, &y);
            ASSERT_GE(x, at.left);
            ASSERT_LT(x, at.left + at.width);
            ASSERT_GE(y, at.top);
            ASSERT_LT(y, at.top + at.height);
            screen_to_game(at, &x, &y);
            ASSERT_EQ(x, g);
            ASSERT_EQ(y, g % 480);
        }
        for (int32_t p = at.left; p < at.left + at.width; ++p) {
            int32_t x = p;
            int32_t y = at.top;
            screen_to_game(at, &x, &y);
            ASSERT_GE(x, 0);
            ASSERT_LT(x, 640);
            ASSERT_EQ(y, 0);
        }
    }
}

TEST(LetterboxLayout, MotionKeepsItsFractionsForTheNextMove) {
    const LetterboxLayout at = letterbox_layout(640, 480, 1280, 1024);
    MotionScaler scaler;
    const int32_t moves[] = {3, -3, 7, 1};
    const int32_t scaled[] = {1, -1, 3, 1};  // 8 screen pixels in all: 4 game pixels
    for (size_t i = 0; i < 4; ++i) {
        int32_t dx = moves[i];
        int32_t dy = -moves[i];
        scaler.scale(at, &dx, &dy);
        EXPECT_EQ(dx, scaled[i]) << "move " << i;
        EXPECT_EQ(dy, -scaled[i]) << "move " << i;
    }
    int32_t dx = 1;
    int32_t dy = 0;
    scaler.scale(at, &dx, &dy);
    EXPECT_EQ(dx, 0);
    scaler.reset();
    dx = 1;
    scaler.scale(at, &dx, &dy);
    EXPECT_EQ(dx, 0) << "the half pixel before the reset is gone";
    dx = INT32_MAX;  // with the half pixel of the move before: 2^31 halves
    scaler.scale(at, &dx, &dy);
    EXPECT_EQ(dx, 1 << 30);
}

}  // namespace
}  // namespace vexel::platform
