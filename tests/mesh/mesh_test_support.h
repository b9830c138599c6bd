// Test helpers for the mesh layer: mesh files assembled byte by byte, and meshes built the way the
// script's object commands build them (strip marker first, v stored negated).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "mesh/mesh_object.h"

namespace vexel::testing {

class MeshBytes {
public:
    MeshBytes& u8(uint8_t value) {
        bytes_.push_back(static_cast<char>(value));
        return *this;
    }
    MeshBytes& u32(uint32_t value) {
        for (int i = 0; i < 4; ++i)
            u8(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }
    MeshBytes& i32(int32_t value) { return u32(static_cast<uint32_t>(value)); }
    MeshBytes& f32(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        return u32(bits);
    }
    MeshBytes& f64(double value) {
        uint64_t bits;
        std::memcpy(&bits, &value, 8);
        u32(static_cast<uint32_t>(bits));
        return u32(static_cast<uint32_t>(bits >> 32));
    }
    // Magic, version, frame count, palette size, pair count.
    MeshBytes& header(double version, int32_t frames, int32_t palette, int32_t pairs) {
        return u32(0x00C6B317).f64(version).i32(frames).i32(palette).i32(pairs);
    }
    // One record of a version 2.0 frame.
    MeshBytes& record(float x, float y, float z, uint8_t normal, uint8_t palette) {
        return f32(x).f32(y).f32(z).u8(normal).u8(palette);
    }

    const std::string& str() const { return bytes_; }

private:
    std::string bytes_;
};

class MeshBuilder {
public:
    MeshBuilder() {
        mesh_.frames.resize(1);
        new_group();
    }
    MeshBuilder& add(float x, float y, float z, float u = 0, float v = 0,
                     int32_t colour = 0xFFFFFF) {
        MeshVertex record;
        record.position = Vec3f{x, y, z};
        record.u = u;
        record.v = -v;
        record.set_colour(colour);
        mesh_.frames[frame_].build_stream.push_back(record);
        return *this;
    }
    MeshBuilder& marker(int32_t value) {
        mesh_.frames[frame_].build_stream.push_back(make_marker(value));
        return *this;
    }
    MeshBuilder& new_group() { return marker(kMarkerStrip); }
    // A further frame starts with a copy of frame 0's first record, the strip marker.
    MeshBuilder& frame(size_t index) {
        while (mesh_.frames.size() <= index) {
            mesh_.frames.emplace_back();
            mesh_.frames.back().build_stream.push_back(mesh_.frames[0].build_stream[0]);
        }
        frame_ = index;
        return *this;
    }
    // What finishing an object does: palette, normals (mode 1 or 2; 0 keeps them), triangles,
    // bounding spheres.
    MeshObjectX finish(int32_t normal_mode = 0) {
        build_palette(mesh_);
        if (normal_mode == 1 || normal_mode == 2) generate_normals(mesh_, normal_mode, false);
        mesh_.prepare();
        compute_bounds(mesh_);
        return std::move(mesh_);
    }
    MeshObjectX raw() { return std::move(mesh_); }

private:
    MeshObjectX mesh_;
    size_t frame_ = 0;
};

}  // namespace vexel::testing
