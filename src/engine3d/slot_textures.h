// Internal: the textures a multi-mesh slot draws each of its meshes with, taken from the slot's
// own table of GL names by the unit rule of the scene textures.
#pragma once

#include <cstdint>
#include <vector>

namespace vexel::engine3d {

// Binds entries a and b of the table (-1 or an index outside it: none): a alone goes on unit 0;
// with both, b goes on unit 0 and a on unit 1. Without multitexturing unit 0 takes a.
void bind_slot_textures(const std::vector<uint32_t>& names, int32_t a, int32_t b);
// Whether the second unit has texturing on, so that a draw gives it texture coordinates.
bool second_unit_textured();

}  // namespace vexel::engine3d
