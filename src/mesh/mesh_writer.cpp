#include <cmath>
#include <cstdint>
#include <vector>

#include "io/file_stream.h"
#include "io/virtual_files.h"
#include "mesh/little_endian.h"
#include "mesh/mesh_file.h"
#include "mesh/normal_table.h"

namespace vexel {

namespace {

constexpr uint32_t kWriteChunk = 1u << 30;

}  // namespace

uint8_t nearest_normal_index(const Vec3f& normal) {
    float n[3] = {normal.x, normal.y, normal.z};
    const float squared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    if (squared > 1e-7f) {
        const float length = std::sqrt(squared);
        for (float& c : n)
            c /= length;
    }
    uint8_t best = 0;
    float best_error = INFINITY;
    for (uint32_t t = 0; t < kNormalTableSize; ++t) {
        const float* entry = kNormalTable[t];
        const float error = std::fabs(n[0] * (n[0] - entry[0]) + n[1] * (n[1] - entry[1]) +
                                      n[2] * (n[2] - entry[2]));
        if (error <= best_error) {
            best_error = error;
            best = static_cast<uint8_t>(t);
            if (error == 0) break;
        }
    }
    return best;
}

bool write_mesh_file(const char* name, const MeshObjectX& mesh) {
    if (mesh.frames.empty() || !name || is_memory_name(name)) return false;
    const std::vector<MeshVertex>& first = mesh.frames[0].build_stream;

    std::vector<uint8_t> out;
    size_t records = 0;
    for (const MeshFrame& frame : mesh.frames)
        records += frame.build_stream.size();
    out.reserve(24 + 4 * mesh.palette.size() + 8 * first.size() + 4 * mesh.frames.size() +
                14 * records);
    store_u32(out, kMeshMagic);
    store_f64(out, kMeshVersion);
    store_i32(out, static_cast<int32_t>(mesh.frames.size()));
    store_i32(out, static_cast<int32_t>(mesh.palette.size()));
    store_i32(out, static_cast<int32_t>(first.size()));
    for (int32_t colour : mesh.palette)
        store_i32(out, colour);
    for (const MeshVertex& record : first) {
        store_f32(out, record.u);
        store_f32(out, record.v);
    }
    for (const MeshFrame& frame : mesh.frames) {
        store_i32(out, static_cast<int32_t>(frame.build_stream.size()));
        for (const MeshVertex& record : frame.build_stream) {
            store_f32(out, record.position.x);
            store_f32(out, record.position.y);
            store_f32(out, record.position.z);
            out.push_back(nearest_normal_index(record.normal));
            out.push_back(record.palette_index);
        }
    }

    FileStream stream;
    if (!stream.open_write(name)) return false;
    for (size_t done = 0; done < out.size();) {
        const size_t left = out.size() - done;
        const uint32_t piece = left > kWriteChunk ? kWriteChunk : static_cast<uint32_t>(left);
        if (!stream.write(out.data() + done, piece)) return false;
        done += piece;
    }
    return true;
}

}  // namespace vexel
