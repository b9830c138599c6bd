// Internal: the client arrays and texture units of one mesh draw. Every array reads the 92-byte
// vertex records; which fields feed which unit depends on the light effect.
#pragma once

#include <cstdint>

#include "engine3d/buffer_objects.h"

namespace vexel::engine3d {

struct ArrayLayout {
    uint8_t effect = 0;           // 0 plain, or the bump or cel effect (multitexturing present)
    bool second_unit = false;     // plain: unit 1 is textured and reads coordinates too
    bool vertex_colours = false;  // plain: the mesh's colour floats feed the colour
    bool normals = false;         // a light is on or sphere mapping is
    bool sphere_mapping = false;  // sphere-map coordinates generated on unit 0
    uint32_t ramp_texture = 0;    // cel: the ramp on unit 1
};

// Points the arrays at the records from base and sets the units' texture environments.
void enable_vertex_arrays(VertexBase base, const ArrayLayout& layout);
// Only the vertex positions, for a one-colour draw of the same records.
void enable_position_array(VertexBase base);
// Every client array and texture-coordinate generation off, unit 0 active.
void disable_vertex_arrays();
// Both units back to modulating their texture with the incoming colour.
void modulate_both_units();

}  // namespace vexel::engine3d
