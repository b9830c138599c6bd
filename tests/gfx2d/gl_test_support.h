// Test helpers for the texture store on the head-less GL context.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstring>

#include "image/image_buffer.h"
#include "support/headless_engine.h"

namespace vexel::testing {

// A texture level as GL holds it (rows bottom-up).
inline ImageBuffer texture_level(uint32_t texture, int32_t level) {
    GLint width = 0;
    GLint height = 0;
    draw_held_2d();
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
    ImageBuffer texels;
    texels.size_for(width, height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    if (width > 0 && height > 0)
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.pixels());
    return texels;
}

inline GLint texture_parameter(uint32_t texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

// Fills a rectangle of the window (origin top-left, window pixels) with a colour value.
inline void fill_window(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour,
                        int32_t window_height = 480) {
    draw_held_2d();
    suspend_leak_checks();  // the driver keeps the code it builds for clearing
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, window_height - y - h, w, h);
    glClearColor(float(colour & 255) / 255, float(colour >> 8 & 255) / 255,
                 float(colour >> 16 & 255) / 255, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    resume_leak_checks();
}

// A picture whose pixel (x, y) is (x * 8 + 3, y * 8 + 5, (x ^ y) * 4, 255 - x - y).
inline ImageBuffer pattern_picture(int32_t w, int32_t h) {
    ImageBuffer picture;
    picture.size_for(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(x * 8 + 3);
            p[1] = static_cast<uint8_t>(y * 8 + 5);
            p[2] = static_cast<uint8_t>((x ^ y) * 4);
            p[3] = static_cast<uint8_t>(255 - x - y);
        }
    }
    return picture;
}

inline bool same_pixels(const ImageBuffer& a, const ImageBuffer& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::memcmp(a.pixels(), b.pixels(), size_t(a.byte_count())) == 0;
}

}  // namespace vexel::testing
