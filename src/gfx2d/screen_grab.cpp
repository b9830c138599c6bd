// grab_sprite: a screen rectangle, in the script's coordinates, into a sprite slot. Grabbing the
// same size again reuses the slot's texture, and an unturned framebuffer with alpha is copied
// by the GPU without a trip through memory, so grabbing every frame stays cheap.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include <vexel/sprites.h>

#include "gfx2d/draw_batch.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_layout.h"
#include "gfx2d/texture_store.h"
#include "image/colour_value.h"

namespace vexel {

namespace {

// The rectangle the script's rectangle covers in the window (origin top-left).
struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The script's pixel (sx, sy) is the window's pixel
//   orientation 0: (sx, sy)              1: (W - 1 - sy, sx)
//   orientation 2: (W - 1 - sx, H - 1 - sy)   3: (sy, H - 1 - sx)
// as the 2D viewport turns the screen.
void to_window(const RenderContext& screen, int32_t sx, int32_t sy, int32_t* wx, int32_t* wy) {
    switch (screen.orientation) {
        case 1:
            *wx = screen.width - 1 - sy;
            *wy = sx;
            break;
        case 2:
            *wx = screen.width - 1 - sx;
            *wy = screen.height - 1 - sy;
            break;
        case 3:
            *wx = sy;
            *wy = screen.height - 1 - sx;
            break;
        default:
            *wx = sx;
            *wy = sy;
            break;
    }
}

WindowRect window_rect(const RenderContext& screen, int32_t x, int32_t y, int32_t w, int32_t h) {
    int32_t x0, y0, x1, y1;
    to_window(screen, x, y, &x0, &y0);
    to_window(screen, x + w - 1, y + h - 1, &x1, &y1);
    WindowRect rect;
    rect.left = std::min(x0, x1);
    rect.top = std::min(y0, y1);
    rect.width = std::abs(x1 - x0) + 1;
    rect.height = std::abs(y1 - y0) + 1;
    return rect;
}

// How a colour looks once written to this framebuffer and read back: channels of fewer than 8
// bits lose their low bits as GL rounds to the nearest representable value.
int32_t displayed_colour(int32_t colour) {
    const GLenum channels[3] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS};
    int32_t shown = 0;
    for (int c = 0; c < 3; ++c) {
        GLint bits = 8;
        glGetIntegerv(channels[c], &bits);
        int32_t v = colour >> (8 * c) & 255;
        if (bits > 0 && bits < 8) {
            const double levels = double((1 << bits) - 1);
            const double stored = std::round(v * levels / 255.0);
            v = static_cast<int32_t>(std::round(stored * 255.0 / levels));
        }
        shown |= v << (8 * c);
    }
    return shown;
}

// Reads the rectangle through memory into texels (lower-left corner, rows bottom-up), turning
// it upright for a turned screen.
void read_through_memory(const RenderContext& screen, int32_t x, int32_t y, int32_t w, int32_t h,
                         ImageBuffer& texels) {
    static std::vector<uint8_t> scratch;  // only grows: grabbing every frame allocates nothing
    const WindowRect rect = window_rect(screen, x, y, w, h);
    const size_t bytes = size_t(rect.width) * rect.height * 4;
    if (scratch.size() < bytes) scratch.resize(bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(rect.left, screen.height - rect.top - rect.height, rect.width, rect.height,
                 GL_RGBA, GL_UNSIGNED_BYTE, scratch.data());
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            int32_t wx, wy;
            to_window(screen, x + i, y + j, &wx, &wy);
            const size_t row = size_t(rect.top + rect.height - 1 - wy);
            const uint8_t* from = scratch.data() + (row * rect.width + (wx - rect.left)) * 4;
            std::copy(from, from + 4, texels.pixel(i, h - 1 - j));
        }
    }
}

void clear_key_alpha(ImageBuffer& texels, int32_t w, int32_t h, int32_t key) {
    if (key == kNoColourKey) return;
    const int32_t shown = key == 0 ? 0 : displayed_colour(key);
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            uint8_t* texel = texels.pixel(i, j);
            if (colour_value(texel[0], texel[1], texel[2]) == shown) texel[3] = 0;
        }
    }
}

}  // namespace

void grab_sprite(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h) {
    TextureStore& store = texture_store();
    SpriteSlot* sprite = store.slot(slot);
    if (!sprite) return;
    flush_2d_batch();
    sprite->frame_width = 0;
    sprite->frame_height = 0;
    store.release_alpha_mask(slot);
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide || !gl_ready()) {
        free_sprite(slot);
        return;
    }
    const int32_t tw = power_of_two_size(w);
    const int32_t th = power_of_two_size(h);
    const int32_t max_side = max_texture_size();
    if (tw > max_side || th > max_side) {
        free_sprite(slot);
        return;
    }
    const RenderContext screen = render_context();
    store.bound_2d_slot = -1;
    if (sprite->texture != 0 && sprite->texture_width == tw && sprite->texture_height == th) {
        glBindTexture(GL_TEXTURE_2D, sprite->texture);
    } else {
        free_sprite(slot);
        set_upload_pixel_store();
        sprite->texture = new_bound_texture(false);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0,
                     screen.bgra_supported ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    sprite->set_picture_size(w, h, tw, th);

    const bool has_alpha = framebuffer_alpha_bits() != 0;
    if (has_alpha && screen.orientation == 0) {
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, screen.height - y - h, w, h);
        return;
    }
    ImageBuffer texels;
    try {
        if (!texels.size_for(tw, th)) throw std::bad_alloc();
        read_through_memory(screen, x, y, w, h, texels);
    } catch (const std::bad_alloc&) {
        free_sprite(slot);
        return;
    }
    if (!has_alpha) clear_key_alpha(texels, w, h, store.sprite_colour_key);
    set_upload_pixel_store();
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tw, th, GL_RGBA, GL_UNSIGNED_BYTE, texels.pixels());
}

}  // namespace vexel
