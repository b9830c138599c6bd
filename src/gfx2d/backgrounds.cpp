#include "gfx2d/backgrounds.h"

#include <GL/gl.h>

#include <algorithm>
#include <new>
#include <vector>

#include "gfx2d/draw_batch.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "image/colour_value.h"
#include "image/image_decoders.h"

namespace vexel {

namespace {

constexpr int32_t kLoadedTileLimit = 512;
constexpr int32_t kFirstCopiedTileSide = 128;

int32_t tile_index(int32_t column, int32_t row) {
    return column * kMaxBackgroundTiles + row;
}

}  // namespace

bool load_background_file(int32_t background, const char* name, ImageFailure* why) {
    BackgroundSlot* slot = texture_store().background(background);
    if (!slot || !gl_ready()) return image_failed(ImageFailure::kNoTexture, why);
    flush_2d_batch();
    ImageBuffer picture;
    if (!decode_image(name, kNoColourKey, picture, why)) return false;
    if (picture.width() == 0 || picture.height() == 0)
        return image_failed(ImageFailure::kEmpty, why);
    const int32_t side = std::min(max_texture_size(), kLoadedTileLimit);
    remove_background(background);

    const int32_t columns = std::min((picture.width() + side - 1) / side, kMaxBackgroundTiles);
    const int32_t rows = std::min((picture.height() + side - 1) / side, kMaxBackgroundTiles);
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t column = 0; column < columns; ++column) {
            const int32_t index = tile_index(column, row);
            if (!upload_texture(picture, column * side, row * side, side, side, slot->tiles[index],
                                nullptr, false, false)) {
                remove_background(background);
                return image_failed(ImageFailure::kNoTexture, why);
            }
            slot->tile_texture_width[index] = static_cast<int16_t>(side);
            slot->tile_texture_height[index] = static_cast<int16_t>(side);
            slot->tile_covered_width[index] = static_cast<int16_t>(side);
            slot->tile_covered_height[index] = static_cast<int16_t>(side);
        }
    }
    slot->columns = static_cast<uint8_t>(columns);
    slot->rows = static_cast<uint8_t>(rows);
    texture_store().bound_2d_slot = -1;
    return true;
}

void copy_screen_to_background(int32_t background) {
    BackgroundSlot* slot = texture_store().background(background);
    if (!slot || !gl_ready()) return;
    flush_2d_batch();
    const RenderContext screen = render_context();
    if (screen.width <= 0 || screen.height <= 0) return;
    const int32_t max_side = max_texture_size();
    int32_t side = kFirstCopiedTileSide;
    while (side < std::max(screen.width, screen.height) && side < max_side)
        side *= 2;
    static std::vector<uint8_t> scratch;  // only grows
    if (!screen.bgra_supported) {
        try {
            scratch.resize(std::max(scratch.size(), size_t(side) * side * 4));
        } catch (const std::bad_alloc&) {
            return;
        }
    }

    texture_store().bound_2d_slot = -1;
    const int32_t columns = std::min((screen.width + side - 1) / side, kMaxBackgroundTiles);
    const int32_t rows = std::min((screen.height + side - 1) / side, kMaxBackgroundTiles);
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t column = 0; column < columns; ++column) {
            const int32_t index = tile_index(column, row);
            const int32_t x = column * side;
            const int32_t y = row * side;
            const int32_t covered_width = std::min(side, screen.width - x);
            const int32_t covered_height = std::min(side, screen.height - y);
            GLuint& tile = slot->tiles[index];
            if (tile != 0 && slot->tile_texture_width[index] == side &&
                slot->tile_texture_height[index] == side) {
                glBindTexture(GL_TEXTURE_2D, tile);
            } else {
                if (tile != 0) glDeleteTextures(1, &tile);
                set_upload_pixel_store();
                tile = new_bound_texture(false);
                glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, side, side, 0,
                             screen.bgra_supported ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            }
            const int32_t bottom = screen.height - y - covered_height;
            if (screen.bgra_supported) {
                glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, bottom, covered_width,
                                    covered_height);
            } else {
                glPixelStorei(GL_PACK_ALIGNMENT, 4);
                glPixelStorei(GL_PACK_ROW_LENGTH, 0);
                glReadPixels(x, bottom, covered_width, covered_height, GL_RGBA, GL_UNSIGNED_BYTE,
                             scratch.data());
                set_upload_pixel_store();
                glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, covered_width, covered_height, GL_RGBA,
                                GL_UNSIGNED_BYTE, scratch.data());
            }
            slot->tile_texture_width[index] = static_cast<int16_t>(side);
            slot->tile_texture_height[index] = static_cast<int16_t>(side);
            slot->tile_covered_width[index] = static_cast<int16_t>(covered_width);
            slot->tile_covered_height[index] = static_cast<int16_t>(covered_height);
        }
    }
    slot->columns = static_cast<uint8_t>(columns);
    slot->rows = static_cast<uint8_t>(rows);
}

void remove_background(int32_t background) {
    BackgroundSlot* slot = texture_store().background(background);
    if (!slot) return;
    flush_2d_batch();
    for (uint32_t& tile : slot->tiles) {
        if (tile != 0 && gl_ready()) {
            const GLuint name = tile;
            glDeleteTextures(1, &name);
        }
    }
    *slot = BackgroundSlot{};
}

bool has_screen_background() {
    const BackgroundSlot* slot = texture_store().background(0);
    return slot->columns != 0;
}

}  // namespace vexel
