// Test helpers for offscreen surfaces: the engine started with or without framebuffer objects,
// drawing with plain GL and whole-window snapshots.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "support/headless_engine.h"

namespace vexel::testing {

// The engine with framebuffer objects hidden (the back-buffer emulation) or available.
inline std::unique_ptr<HeadlessEngine> engine_with_framebuffers(bool hidden) {
    setenv("VEXEL_NO_FBO", hidden ? "1" : "0", 1);
    return std::make_unique<HeadlessEngine>();
}

// An untextured quad in the current 2D coordinates (origin top-left), opaque.
inline void draw_quad(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    draw_held_2d();
    glDisable(GL_TEXTURE_2D);
    glColor4ub(uint8_t(colour & 255), uint8_t(colour >> 8 & 255), uint8_t(colour >> 16 & 255), 255);
    glBegin(GL_QUADS);
    glVertex2i(x, y);
    glVertex2i(x + w, y);
    glVertex2i(x + w, y + h);
    glVertex2i(x, y + h);
    glEnd();
    glColor4f(1, 1, 1, 1);
}

// The whole back buffer of a 640 x 480 window, RGBA rows from the bottom.
inline std::vector<uint8_t> window_pixels() {
    std::vector<uint8_t> pixels(640 * 480 * 4);
    draw_held_2d();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

}  // namespace vexel::testing
