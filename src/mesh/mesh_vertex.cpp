#include "mesh/mesh_vertex.h"

namespace vexel {

void MeshVertex::set_colour(int32_t value) {
    colour = value;
    const uint32_t bits = static_cast<uint32_t>(value);
    if (bits > 0xFFFFFFFBu) {
        red = green = blue = alpha = 1;
        return;
    }
    const std::array<float, 4> floats = colour_floats(value);
    red = floats[0];
    green = floats[1];
    blue = floats[2];
    alpha = floats[3];
}

MeshVertex make_marker(int32_t marker) {
    MeshVertex record;
    record.set_colour(marker);
    return record;
}

}  // namespace vexel
