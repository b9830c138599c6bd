#include "mesh/object_slot.h"

#include <cstring>
#include <new>
#include <string_view>

#include <vexel/archive.h>
#include <vexel/error.h>

#include "app/failure_report.h"
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

namespace {

// Reads one mesh file into the slot's only mesh and makes it drawable. On failure *reason says
// why in the words of the error log.
bool load_single_mesh(ObjectSlot& slot, const char* resolved, std::string_view* reason) {
    slot.meshes.emplace_back();
    MeshObjectX& mesh = slot.meshes[0];
    if (!read_mesh_file(resolved, mesh, reason)) return false;
    if (mesh.frames.empty() || mesh.frames[0].build_stream.empty()) {
        set_error(20);
        *reason = "holds no vertex";
        return false;
    }
    slot.used = 1;
    slot.multi_mesh = 0;
    mesh.prepare();
    compute_bounds(mesh);
    return true;
}

bool load_slot(ObjectSlot& slot, const char* name, std::string_view* reason) {
    DynString resolved;
    resolve_name(DynString(name), resolved, true);
    char head[4] = {0, 0, 0, 0};
    {
        FileStream stream;
        if (!stream.open_read(resolved.c_str())) {
            set_error(3);
            *reason = "not found";
            return false;
        }
        if (stream.size() >= 4 && !stream.read(head, sizeof head)) std::memset(head, 0, 4);
    }
    if (std::memcmp(head, kMultiMeshTag, 4) == 0) {
        load_multi_mesh(slot, name, resolved.c_str());
        return true;
    }
    return load_single_mesh(slot, resolved.c_str(), reason);
}

}  // namespace

int32_t load_object_slot(ObjectSlot& slot, const char* name) {
    slot.reset();
    if (!name) return 0;
    std::string_view reason;
    bool loaded = false;
    try {
        loaded = load_slot(slot, name, &reason);
    } catch (const std::bad_alloc&) {
        // Making the mesh drawable ran out: what was read goes before anything is logged.
        slot.reset();
        log_out_of_memory(name);
        reason = "out of memory";
    }
    if (loaded) return 1;
    slot.reset();
    log_load_failure("load_object", name, reason);
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
