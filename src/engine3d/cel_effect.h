// Internal: cel shading. Each mesh gets a ramp texture, one row per palette colour banded by the
// ramp's intensities, looked up by how much a vertex faces the light; and, while culling is on,
// a black outline drawn from the inverted faces of the mesh pushed outwards.
#pragma once

#include <cstdint>
#include <vector>

#include "engine3d/duderedi_3d.h"
#include "engine3d/matrix4.h"
#include "mesh/mesh_object.h"

namespace vexel::engine3d {

// The 16 bands a ramp takes when none was given.
inline constexpr uint8_t kDefaultCelLevels[16] = {100, 160, 160, 160, 160, 160, 160, 207,
                                                  255, 255, 255, 255, 255, 255, 255, 255};

// The mesh's ramp texture, made on first use (on the active unit); empty levels become the
// default ones first. Sets the mesh's row height.
uint32_t ensure_ramp_texture(MeshObjectX& mesh, std::vector<uint8_t>& levels);
// Deletes the ramp texture of every mesh of the table, so that each is made from new levels.
void forget_ramp_textures(Duderedi3D& state);

// The outline's width for the mesh drawn at its frame with matrix m, or a negative value when
// the object is too far away for one (or culling is off).
float outline_width(const Duderedi3D& state, const Matrix4& m, const MeshFrame& frame);
// Pushes the blend buffer outwards by width and draws it black with the cull mode inverted,
// then rebinds the scene textures and gives the cull mode and lighting back.
void draw_outline(Duderedi3D& state, MeshObjectX& mesh, float width);

}  // namespace vexel::engine3d
