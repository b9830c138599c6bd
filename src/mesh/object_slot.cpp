#include "mesh/object_slot.h"

#include <cstring>
#include <new>

#include <vexel/archive.h>
#include <vexel/error.h>

#include "io/file_stream.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_hooks.h"
#include "mesh/multi_mesh.h"

namespace vexel {

void ObjectSlot::reset() {
    meshes.clear();
    delete_slot_textures(textures);
    textures.clear();
    used = 0;
    multi_mesh = 0;
}

int32_t load_object_slot(ObjectSlot& slot, const char* name) {
    slot.reset();
    if (!name) return 0;
    DynString resolved;
    resolve_name(DynString(name), resolved, true);

    char head[4] = {0, 0, 0, 0};
    {
        FileStream stream;
        if (!stream.open_read(resolved.c_str())) {
            set_error(3);
            return 0;
        }
        if (stream.size() >= 4 && !stream.read(head, sizeof head)) std::memset(head, 0, 4);
    }
    if (std::memcmp(head, kMultiMeshTag, 4) == 0)
        return load_multi_mesh(slot, name, resolved.c_str());

    slot.meshes.emplace_back();
    MeshObjectX& mesh = slot.meshes[0];
    const bool read = read_mesh_file(resolved.c_str(), mesh);
    if (read && !mesh.frames.empty() && !mesh.frames[0].build_stream.empty()) {
        slot.used = 1;
        slot.multi_mesh = 0;
        mesh.prepare();
        compute_bounds(mesh);
        return 1;
    }
    if (read) set_error(20);  // a mesh without a single record
    slot.reset();
    return 0;
}

int32_t save_object_slot(const ObjectSlot& slot, const char* name) {
    try {
        if (!slot.meshes.empty() && write_mesh_file(name, slot.meshes[0])) return 1;
    } catch (const std::bad_alloc&) {
        // The file's bytes are put together in memory first: nothing was written.
    }
    set_error(3);
    return 0;
}

void scale_object_slot(ObjectSlot& slot, float x, float y, float z) {
    for (MeshObjectX& mesh : slot.meshes)
        scale_mesh(mesh, x, y, z);
}

}  // namespace vexel
