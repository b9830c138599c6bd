#include "support/mesh_checks.h"

#include <string>

#include "mesh/mesh_file.h"
#include "support/fuzz_harness.h"

namespace vexel::fuzz {

namespace {

// prepare makes three records a triangle in every frame, and the blend buffer a copy of frame 0.
void check_prepared(const MeshObjectX& mesh) {
    for (const MeshFrame& frame : mesh.frames)
        check(frame.triangles.size() % 3 == 0, "a triangle list of a partial triangle");
    if (!mesh.frames.empty())
        check(mesh.blend.size() == mesh.frames[0].triangles.size(), "a blend buffer out of step");
}

// A single mesh that loaded can be saved, and what was saved loads with the same frames.
void check_saved_copy(const MeshObjectX& mesh) {
    const std::string copy = private_folder() + "copy.vxm";
    if (!write_mesh_file(copy.c_str(), mesh)) return;
    MeshObjectX reloaded;
    check(read_mesh_file(copy.c_str(), reloaded), "a saved mesh does not load");
    check(reloaded.frames.size() == mesh.frames.size(), "a saved mesh lost frames");
    for (size_t f = 0; f < mesh.frames.size(); ++f) {
        check(reloaded.frames[f].build_stream.size() == mesh.frames[f].build_stream.size(),
              "a saved mesh lost records");
    }
}

}  // namespace

void load_and_use_slot(const char* name) {
    ObjectSlot slot;
    if (!load_object_slot(slot, name)) {
        check(slot.meshes.empty() && !slot.used, "a failed load left a mesh in the slot");
        return;
    }
    for (const MeshObjectX& mesh : slot.meshes)
        check_prepared(mesh);
    if (!slot.multi_mesh) check_saved_copy(slot.meshes[0]);
    scale_object_slot(slot, 2.0f, -0.5f, 1.0f);
    for (MeshObjectX& mesh : slot.meshes) {
        generate_normals(mesh, 2, true);
        build_palette(mesh);
        mesh.prepare();
        check_prepared(mesh);
    }
}

}  // namespace vexel::fuzz
