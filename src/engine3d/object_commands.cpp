// The object table's commands: building a mesh vertex by vertex, loading and saving mesh files,
// and the queries over a slot's triangles.
#include <cstdio>
#include <new>
#include <string>

#include <vexel/error.h>
#include <vexel/scene3d.h>

#include "engine3d/buffer_objects.h"
#include "engine3d/draw_slot.h"
#include "engine3d/duderedi_3d.h"
#include "engine3d/texture_binding.h"
#include "mesh/mesh_object.h"

namespace vexel {

namespace {

using engine3d::duderedi_3d;
using engine3d::scene_globals;

// Frames a script can ask the builder for; more would only exhaust memory.
constexpr int32_t kMaxBuildFrames = 1 << 16;
constexpr int32_t kFaceValues = 9;

// The mesh being built, or null when no object_start is open.
MeshObjectX* building_mesh() {
    ObjectSlot* slot = engine3d::object_slot(scene_globals().building_slot);
    if (!slot || slot->meshes.empty()) return nullptr;
    return &slot->meshes[0];
}

// Memory ran out while building: the slot is emptied and building stops.
void abandon_building() {
    if (ObjectSlot* slot = engine3d::object_slot(scene_globals().building_slot)) slot->reset();
    scene_globals().building_slot = -1;
    set_error(7);
}

void append_to_build_frame(const MeshVertex& record) {
    MeshObjectX* mesh = building_mesh();
    if (!mesh) return;
    const auto frame = static_cast<size_t>(duderedi_3d()->build_frame);
    if (frame >= mesh->frames.size()) return;
    try {
        mesh->frames[frame].build_stream.push_back(record);
    } catch (const std::bad_alloc&) {
        abandon_building();
    }
}

// Every frame must hold as many records as frame 0; the first that does not is reported.
bool frames_match(const MeshObjectX& mesh) {
    const size_t expected = mesh.frames[0].build_stream.size();
    for (size_t i = 1; i < mesh.frames.size(); ++i) {
        const size_t count = mesh.frames[i].build_stream.size();
        if (count == expected) continue;
        const std::string text = "Frame " + std::to_string(i) + " has " + std::to_string(count) +
                                 " nodes, but must have (like frame 0) " +
                                 std::to_string(expected) + " nodes\n";
        debug_output(text.c_str());
        return false;
    }
    return true;
}

void put_corner(DynArray<double>& corners, int32_t row, const MeshVertex& record) {
    const double values[kFaceValues] = {record.position.x, record.position.y, record.position.z,
                                        record.u,          record.v,          double(record.colour),
                                        record.normal.x,   record.normal.y,   record.normal.z};
    for (int32_t column = 0; column < kFaceValues; ++column)
        corners.at(row, column) = values[column];
}

}  // namespace

void object_start(int32_t num) {
    ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) {
        scene_globals().building_slot = -1;
        return;
    }
    slot->reset();
    try {
        slot->meshes.emplace_back();
        slot->meshes[0].frames.resize(1);
        slot->meshes[0].frames[0].build_stream.push_back(make_marker(kMarkerStrip));
    } catch (const std::bad_alloc&) {
        slot->reset();
        scene_globals().building_slot = -1;
        set_error(7);
        return;
    }
    duderedi_3d()->build_frame = 0;
    scene_globals().building_slot = num;
}

void object_set_frame(int32_t frame) {
    MeshObjectX* mesh = building_mesh();
    if (!mesh || frame < 0 || frame >= kMaxBuildFrames) return;
    try {
        const MeshVertex leading = mesh->frames[0].build_stream.empty()
                                       ? make_marker(kMarkerStrip)
                                       : mesh->frames[0].build_stream[0];
        while (mesh->frames.size() <= static_cast<size_t>(frame)) {
            mesh->frames.emplace_back();
            mesh->frames.back().build_stream.push_back(leading);
        }
    } catch (const std::bad_alloc&) {
        abandon_building();
        return;
    }
    duderedi_3d()->build_frame = frame;
}

void object_add_vertex(double x, double y, double z, double u, double v, int32_t colour) {
    MeshVertex record;
    record.position = Vec3f{float(x), float(y), float(z)};
    record.u = static_cast<float>(u);
    record.v = static_cast<float>(-v);
    record.set_colour(colour);
    append_to_build_frame(record);
}

void object_new_group() {
    append_to_build_frame(make_marker(kMarkerStrip));
}

void object_end() {
    ObjectSlot* slot = engine3d::object_slot(scene_globals().building_slot);
    scene_globals().building_slot = -1;
    if (!slot) return;
    slot->multi_mesh = 0;
    if (slot->meshes.empty()) {
        slot->reset();
        return;
    }
    MeshObjectX& mesh = slot->meshes[0];
    if (mesh.frames.empty() || mesh.frames[0].build_stream.size() < 3) {
        slot->reset();
        return;
    }
    slot->used = 1;
    if (!frames_match(mesh)) {
        slot->reset();
        return;
    }
    try {
        finish_built_mesh(mesh, duderedi_3d()->auto_normals);
    } catch (const std::bad_alloc&) {
        slot->reset();
        set_error(7);
    }
}

void set_auto_normals(int32_t mode) {
    if (engine3d::Duderedi3D* state = duderedi_3d()) state->auto_normals = mode % 3;
}

int32_t load_object(const DynString& file, int32_t num) {
    ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) return 0;
    if (scene_globals().building_slot == num) scene_globals().building_slot = -1;
    return load_object_slot(*slot, file.c_str());
}

int32_t save_object(const DynString& file, int32_t num) {
    const ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) {
        set_error(3);
        return 0;
    }
    return save_object_slot(*slot, file.c_str());
}

int32_t find_free_object() {
    engine3d::Duderedi3D* state = duderedi_3d();
    if (!state) return -1;
    for (size_t i = 0; i < state->objects.size(); ++i) {
        if (!state->objects[i].used) return static_cast<int32_t>(i);
    }
    return -1;
}

int32_t count_faces(int32_t num) {
    const ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) return 0;
    size_t faces = 0;
    for (const MeshObjectX& mesh : slot->meshes) {
        if (!mesh.frames.empty()) faces += mesh.frames[0].triangles.size() / 3;
    }
    return static_cast<int32_t>(faces);
}

void get_face(int32_t num, int32_t frame, int32_t face, DynArray<double>& corners) {
    const ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot || frame < 0 || face < 0) return;
    size_t remaining = static_cast<size_t>(face);
    for (const MeshObjectX& mesh : slot->meshes) {
        if (static_cast<size_t>(frame) >= mesh.frames.size()) continue;
        const std::vector<MeshVertex>& triangles =
            mesh.frames[static_cast<size_t>(frame)].triangles;
        const size_t faces = triangles.size() / 3;
        if (remaining >= faces) {
            remaining -= faces;
            continue;
        }
        corners.dim(3, kFaceValues);
        for (int32_t k = 0; k < 3; ++k)
            put_corner(corners, k, triangles[remaining * 3 + static_cast<size_t>(k)]);
        return;
    }
}

void scale_object(int32_t num, double x, double y, double z) {
    ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) return;
    scale_object_slot(*slot, float(x), float(y), float(z));
    // Frame 0's static buffer holds the old geometry, and so does the shadow edge list.
    for (MeshObjectX& mesh : slot->meshes) {
        engine3d::forget_static_vertices(mesh);
        mesh.shadow_edges.clear();
    }
}

int32_t draw_object(int32_t num, int32_t frame) {
    return draw_object_blend(num, frame, frame, 0, 0);
}

int32_t draw_object_blend(int32_t num, int32_t frame_a, int32_t frame_b, double t, int32_t loop) {
    ObjectSlot* slot = engine3d::object_slot(num);
    if (!slot) return 0;
    engine3d::bind_scene_textures(scene_globals().texture_1, scene_globals().texture_2);
    engine3d::draw_slot(*duderedi_3d(), *slot,
                        engine3d::DrawRequest{frame_a, frame_b, t, loop != 0});
    return 0;
}

}  // namespace vexel
