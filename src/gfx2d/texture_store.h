// Internal: the texture store of the 2D layer: 65,536 sprite slots (script sprites, 3D textures
// and font sheets), their alpha masks, the eight tiled background pictures and the colour keys.
// One instance per process, reached through texture_store().
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/colour_value.h"

namespace vexel {

inline constexpr int32_t kSpriteSlotCount = 65536;
inline constexpr int32_t kFontCount = 32;
// Slots from here on hold the glyph sheets of fonts 0 to 31.
inline constexpr int32_t kFirstFontSlot = kSpriteSlotCount - kFontCount;
inline constexpr int32_t kBackgroundCount = 8;
inline constexpr int32_t kMaxBackgroundTiles = 8;  // per row and per column

// A zero-filled slot is empty; a slot emptied by free_sprite has texture sizes -1 and extents 1.
struct SpriteSlot {
    uint32_t texture = 0;       // GL name of the picture, 0 = none
    uint32_t mip_texture = 0;   // GL name of the square mipmapped copy, 0 = none
    float u_extent = 0;         // width / texture_width
    float v_extent = 0;         // height / texture_height
    int16_t texture_width = 0;  // powers of two (offscreen surfaces may go below 16)
    int16_t texture_height = 0;
    int16_t width = 0;  // picture size; width 0 means the slot is empty
    int16_t height = 0;
    int16_t frame_width = 0;  // animation frame size, 0 = not an animation
    int16_t frame_height = 0;

    // A picture of w x h pixels in the corner of a texture of tw x th.
    void set_picture_size(int32_t w, int32_t h, int32_t tw, int32_t th) {
        texture_width = static_cast<int16_t>(tw);
        texture_height = static_cast<int16_t>(th);
        width = static_cast<int16_t>(w);
        height = static_cast<int16_t>(h);
        u_extent = static_cast<float>(w) / static_cast<float>(tw);
        v_extent = static_cast<float>(h) / static_cast<float>(th);
    }
};

// A full-screen picture as a grid of textures; index column * 8 + row.
struct BackgroundSlot {
    std::array<uint32_t, 64> tiles{};
    std::array<int16_t, 64> tile_texture_width{};
    std::array<int16_t, 64> tile_texture_height{};
    std::array<int16_t, 64> tile_covered_width{};
    std::array<int16_t, 64> tile_covered_height{};
    uint8_t columns = 0;  // 0 = the background is empty
    uint8_t rows = 0;
};

class TextureStore {
public:
    TextureStore();

    // The slot, or null for a number outside the table.
    SpriteSlot* slot(int32_t n);
    // The background, or null for a number outside 0..7.
    BackgroundSlot* background(int32_t n);

    // The collision mask of a slot (the alpha of every texel of level 0, rows bottom-up, made on
    // demand by the collision tests); empty when there is none or the number is outside the table.
    std::vector<uint8_t>& alpha_mask(int32_t n);
    void release_alpha_mask(int32_t n);

    int32_t sprite_colour_key = kDefaultSpriteColourKey;
    int32_t font_colour_key = 0;
    // The slot whose texture the 2D drawing code bound last, -1 for none. Emptying, refilling
    // or grabbing into a slot resets it, so that the next draw binds afresh.
    int32_t bound_2d_slot = -1;

private:
    std::vector<SpriteSlot> slots_;
    std::vector<std::vector<uint8_t>> alpha_masks_;
    std::array<BackgroundSlot, kBackgroundCount> backgrounds_{};
    std::vector<uint8_t> no_mask_;
};

// The process's store, made on first use.
TextureStore& texture_store();
// Deletes the store (its GL names must already be released); the next use starts afresh.
void delete_texture_store();

}  // namespace vexel
