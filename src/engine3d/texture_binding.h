// Internal: how the 3D layer puts sprite slots on the two texture units. One texture goes on
// unit 0; with two, the second goes on unit 0 and the first on unit 1, so that unit 1 can
// modulate the base texture. Without multitexturing only unit 0 exists and takes the first.
#pragma once

#include <cstdint>
#include <functional>

namespace vexel::engine3d {

// A GL texture name (0: none) and whether it is a mipmapped copy.
struct BoundTexture {
    uint32_t name = 0;
    bool mipmapped = false;
};

// Puts the textures numbered a and b (negative: none) on the units in the order above, each
// looked up by its number.
void bind_texture_pair(int32_t a, int32_t b, const std::function<BoundTexture(int32_t)>& lookup);

// Binds the sprite slots (-1: none; an empty slot or one outside the table counts as none)
// with the mipmapped copies while the texture-mipmapping flag is on, filters from the window's
// smoothing switch.
void bind_scene_textures(int32_t tex1, int32_t tex2);
// Texturing off on both units, no texture bound.
void unbind_scene_textures();
// Sets the filters of the texture bound on the active unit from the smoothing switch.
void apply_smoothing_filters(bool mipmapped);
// Texturing on on unit 1 for what the 3D layer draws there; 2D drawing turns it off again. The
// active unit stays unit 1.
void texture_second_unit();
// With a shader program in use: its samplers "TextureID1" on unit 0, "TextureID2" on unit 1.
void set_sampler_units();

}  // namespace vexel::engine3d
