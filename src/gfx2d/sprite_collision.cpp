#include <GL/gl.h>

#include <algorithm>
#include <new>

#include <vexel/draw.h>

#include "gfx2d/render_context.h"
#include "gfx2d/texture_store.h"

namespace vexel {

namespace {

constexpr size_t kMinMaskBytes = 64;

// One sprite as the test sees it: the rectangle that counts (whole picture or one frame) and
// where its picture's top-left corner lies on screen.
struct Body {
    int32_t slot = 0;
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    int64_t picture_x = 0, picture_y = 0;
};

// Level 0 of the slot's texture as one alpha byte per texel, read back once and kept with the
// slot. Empty when the slot has no texture or its level is not the size the slot records.
const std::vector<uint8_t>& alpha_mask(int32_t slot) {
    TextureStore& store = texture_store();
    std::vector<uint8_t>& mask = store.alpha_mask(slot);
    const SpriteSlot* sprite = store.slot(slot);
    if (!mask.empty() || !sprite || sprite->texture == 0 || !gl_ready()) return mask;
    GLint tw = 0;
    GLint th = 0;
    glBindTexture(GL_TEXTURE_2D, sprite->texture);
    store.bound_2d_slot = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
    if (tw != sprite->texture_width || th != sprite->texture_height) return mask;
    try {
        mask.assign(std::max(size_t(tw) * size_t(th), kMinMaskBytes), 0);
    } catch (const std::bad_alloc&) {
        mask.clear();
        return mask;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return mask;
}

// The mask byte under screen pixel (x, y); pixels outside the picture count as transparent.
bool solid(const Body& body, const SpriteSlot& sprite, const std::vector<uint8_t>& mask, int64_t x,
           int64_t y) {
    const int64_t column = x - body.picture_x;
    const int64_t row = y - body.picture_y;
    if (column < 0 || row < 0 || column >= sprite.width || row >= sprite.height) return false;
    const size_t index = size_t((sprite.height - 1 - row) * sprite.texture_width + column);
    return index < mask.size() && mask[index] != 0;
}

// The frame rectangle of a sprite at (x, y) and where its picture lies; false for an empty or
// unknown slot.
bool body_of(int32_t slot, int32_t frame, bool animated, int32_t x, int32_t y, Body& body) {
    const SpriteSlot* sprite = texture_store().slot(slot);
    if (!sprite || sprite->width <= 0 || sprite->height <= 0) return false;
    int64_t fw = sprite->width;
    int64_t fh = sprite->height;
    int64_t offset_x = 0;
    int64_t offset_y = 0;
    if (animated && sprite->frame_width > 0 && sprite->frame_height > 0) {
        fw = sprite->frame_width;
        fh = sprite->frame_height;
        const int64_t per_row = std::max<int64_t>(1, sprite->width / fw);
        offset_x = fw * (frame % per_row);
        offset_y = fh * (frame / per_row);
    }
    body = Body{slot, x, y, x + fw, y + fh, x - offset_x, y - offset_y};
    return true;
}

int32_t bodies_collide(const Body& a, const Body& b) {
    const int64_t right = std::min(a.right, b.right);
    const int64_t left = std::max(a.left, b.left);
    const int64_t bottom = std::min(a.bottom, b.bottom);
    const int64_t top = std::max(a.top, b.top);
    if (right <= left || bottom <= top) return 0;
    const std::vector<uint8_t>& mask_a = alpha_mask(a.slot);
    const std::vector<uint8_t>& mask_b = alpha_mask(b.slot);
    if (mask_a.empty() || mask_b.empty()) return 0;
    const SpriteSlot& sprite_a = *texture_store().slot(a.slot);
    const SpriteSlot& sprite_b = *texture_store().slot(b.slot);
    auto hit = [&](int64_t x, int64_t y) {
        return solid(a, sprite_a, mask_a, x, y) && solid(b, sprite_b, mask_b, x, y);
    };
    // The centre rounded towards the overlap's corner: halving the sum would round towards
    // zero and step outside an overlap of one pixel left of or above the origin.
    if (hit(left + (right - left) / 2, top + (bottom - top) / 2)) return 1;
    // Coarse to fine: every other row and column first, then the ones in between.
    for (const auto& [row_start, column_start] :
         {std::pair{0, 0}, std::pair{0, 1}, std::pair{1, 0}, std::pair{1, 1}}) {
        for (int64_t y = top + row_start; y < bottom; y += 2) {
            for (int64_t x = left + column_start; x < right; x += 2) {
                if (hit(x, y)) return 1;
            }
        }
    }
    return 0;
}

}  // namespace

int32_t sprite_collision(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2,
                         int32_t y2) {
    Body a;
    Body b;
    if (!body_of(sprite1, 0, false, x1, y1, a) || !body_of(sprite2, 0, false, x2, y2, b)) return 0;
    return bodies_collide(a, b);
}

int32_t animation_collision(int32_t sprite1, int32_t frame1, int32_t x1, int32_t y1,
                            int32_t sprite2, int32_t frame2, int32_t x2, int32_t y2) {
    Body a;
    Body b;
    if (!body_of(sprite1, frame1, true, x1, y1, a) || !body_of(sprite2, frame2, true, x2, y2, b))
        return 0;
    return bodies_collide(a, b);
}

}  // namespace vexel
