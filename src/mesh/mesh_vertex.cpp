#include "mesh/mesh_vertex.h"

namespace vexel {

void MeshVertex::set_colour(int32_t value) {
    colour = value;
    const uint32_t bits = static_cast<uint32_t>(value);
    if (bits > 0xFFFFFFFBu) {
        red = green = blue = alpha = 1;
        return;
    }
    red = static_cast<float>(bits & 0xFF) / 255.0f;
    green = static_cast<float>((bits >> 8) & 0xFF) / 255.0f;
    blue = static_cast<float>((bits >> 16) & 0xFF) / 255.0f;
    alpha = 1;
}

MeshVertex make_marker(int32_t marker) {
    MeshVertex record;
    record.set_colour(marker);
    return record;
}

}  // namespace vexel
