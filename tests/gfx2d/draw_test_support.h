// Test helpers for 2D drawing on the head-less context: a started engine with a black screen,
// and pixels of the back buffer in screen coordinates (origin top-left).
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "gfx2d/gl_test_support.h"
#include "gfx2d/sprite_operations.h"
#include "support/headless_engine.h"

namespace vexel::testing {

inline constexpr int32_t kScreenHeight = 480;

// R, G, B, A of the back buffer at (x, y), y counted from the top.
inline std::array<uint8_t, 4> screen_rgba(int32_t x, int32_t y) {
    std::array<uint8_t, 4> rgba{};
    draw_held_2d();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, kScreenHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// The colour value R + G*256 + B*65536 at (x, y), y counted from the top.
inline int32_t screen_colour(int32_t x, int32_t y) {
    return read_pixel(x, kScreenHeight - 1 - y);
}

// The number of pixels in the rectangle whose colour is not black.
inline int32_t lit_pixels(int32_t x, int32_t y, int32_t w, int32_t h) {
    int32_t lit = 0;
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column)
            lit += screen_colour(column, row) != 0;
    }
    return lit;
}

// A started engine whose back buffer is black with alpha 0 everywhere; nothing from the engine's
// start to its shutdown is leak-checked (see LeakCheckPause).
class DrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_.has_window());
        clear_screen();
    }
    static void clear_screen() {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // A sprite from a picture; ASSERTs that it was made.
    static void make_sprite(int32_t slot, const ImageBuffer& picture) {
        ASSERT_TRUE(create_sprite(slot, picture, false));
    }

    LeakCheckPause pause_;
    HeadlessEngine engine_;
};

// A w x h picture of one opaque colour value.
inline ImageBuffer solid_picture(int32_t w, int32_t h, int32_t colour, uint8_t alpha = 255) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(colour & 255);
            p[1] = static_cast<uint8_t>(colour >> 8 & 255);
            p[2] = static_cast<uint8_t>(colour >> 16 & 255);
            p[3] = alpha;
        }
    }
    return picture;
}

// Colour (x * 2, y * 3, 77), opaque.
inline ImageBuffer gradient(int32_t w, int32_t h) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 2);
            p[1] = static_cast<uint8_t>(y * 3);
            p[2] = 77;
            p[3] = 255;
        }
    }
    return picture;
}

inline int32_t gradient_at(int32_t x, int32_t y) {
    return (x * 2 & 255) | (y * 3 & 255) << 8 | 77 << 16;
}

}  // namespace vexel::testing
