#include "engine3d/draw_slot.h"

#include "engine3d/slot_textures.h"

namespace vexel::engine3d {

void draw_slot(Duderedi3D& state, ObjectSlot& slot, const DrawRequest& request) {
    if (slot.meshes.empty()) return;
    if (!slot.multi_mesh) {
        draw_mesh(state, slot.meshes[0], request);
        return;
    }
    for (MeshObjectX& mesh : slot.meshes) {
        if (slot.textures.empty()) {
            bind_slot_textures(slot.textures, -1, -1);
        } else {
            bind_slot_textures(slot.textures, mesh.texture_a, mesh.texture_b);
        }
        draw_mesh(state, mesh, request);
    }
}

}  // namespace vexel::engine3d
