#include <cmath>
#include <unordered_map>
#include <vector>

#include "mesh/mesh_object.h"
#include "mesh/triangulation.h"
#include "mesh/vec3_math.h"

namespace vexel {

namespace {

constexpr float kTinyDeterminant = 0.00001f;

void accumulate(Vec3f& sum, const Vec3f& v) {
    sum.x += v.x;
    sum.y += v.y;
    sum.z += v.z;
}

// Records at the same position share a key: the integer part of x·256 + y·65536 + z·16777216,
// kept to its low 32 bits.
uint32_t position_key(const Vec3f& p) {
    constexpr double kWrap = 4294967296.0;
    const double value =
        std::trunc(static_cast<double>(p.x) * 256.0 + static_cast<double>(p.y) * 65536.0 +
                   static_cast<double>(p.z) * 16777216.0);
    if (!std::isfinite(value)) return 0;
    double low = std::fmod(value, kWrap);
    if (low < 0) low += kWrap;
    return static_cast<uint32_t>(low);
}

// Gives each record the index of the accumulator it shares; returns how many there are.
size_t assign_accumulators(const std::vector<MeshVertex>& stream, int32_t mode,
                           std::vector<uint32_t>& slot) {
    slot.resize(stream.size());
    if (mode != 2) {
        for (size_t i = 0; i < stream.size(); ++i)
            slot[i] = static_cast<uint32_t>(i);
        return stream.size();
    }
    std::unordered_map<uint32_t, uint32_t> by_key;
    by_key.reserve(stream.size());
    for (size_t i = 0; i < stream.size(); ++i) {
        const uint32_t next = static_cast<uint32_t>(by_key.size());
        slot[i] = by_key.try_emplace(position_key(stream[i].position), next).first->second;
    }
    return by_key.size();
}

// Tangent and bitangent of one triangle, one coordinate at a time: from the edges' coordinate c
// and their (u, v) differences, where the texture mapping is not degenerate.
void triangle_tangents(const MeshVertex& a, const MeshVertex& b, const MeshVertex& c,
                       Vec3f& tangent, Vec3f& bitangent) {
    const float pa[3] = {a.position.x, a.position.y, a.position.z};
    const float pb[3] = {b.position.x, b.position.y, b.position.z};
    const float pc[3] = {c.position.x, c.position.y, c.position.z};
    float t[3] = {0, 0, 0};
    float s[3] = {0, 0, 0};
    for (int axis = 0; axis < 3; ++axis) {
        const Vec3f first{pb[axis] - pa[axis], b.u - a.u, b.v - a.v};
        const Vec3f second{pc[axis] - pa[axis], c.u - a.u, c.v - a.v};
        const Vec3f product = cross(first, second);
        if (std::fabs(product.x) > kTinyDeterminant) {
            t[axis] = -product.y / product.x;
            s[axis] = -product.z / product.x;
        }
    }
    tangent = Vec3f{t[0], t[1], t[2]};
    bitangent = Vec3f{s[0], s[1], s[2]};
}

void generate_frame(MeshFrame& frame, int32_t mode, bool make_normals, bool make_tangents) {
    std::vector<MeshVertex>& stream = frame.build_stream;
    std::vector<uint32_t> slot;
    const size_t count = assign_accumulators(stream, mode, slot);
    std::vector<Vec3f> normals(make_normals ? count : 0);
    std::vector<Vec3f> tangents(make_tangents ? count : 0);
    std::vector<Vec3f> bitangents(make_tangents ? count : 0);

    // The strip rule already swaps the odd triangles of a strip into one winding, which is the
    // same as negating their face normals.
    for_each_triangle(stream, [&](size_t i0, size_t i1, size_t i2) {
        const MeshVertex& a = stream[i0];
        const MeshVertex& b = stream[i1];
        const MeshVertex& c = stream[i2];
        const uint32_t corners[3] = {slot[i0], slot[i1], slot[i2]};
        if (make_normals) {
            const Vec3f face = cross(sub(c.position, a.position), sub(b.position, a.position));
            for (uint32_t corner : corners)
                accumulate(normals[corner], face);
        }
        if (make_tangents) {
            Vec3f tangent;
            Vec3f bitangent;
            triangle_tangents(a, b, c, tangent, bitangent);
            for (uint32_t corner : corners) {
                accumulate(tangents[corner], tangent);
                accumulate(bitangents[corner], bitangent);
            }
        }
    });

    for (size_t i = 0; i < stream.size(); ++i) {
        MeshVertex& record = stream[i];
        if (is_marker(record.colour)) continue;
        if (make_normals) record.normal = normalised(normals[slot[i]]);
        if (make_tangents) {
            record.tangent = normalised(tangents[slot[i]]);
            record.bitangent = normalised(bitangents[slot[i]]);
        }
    }
}

}  // namespace

void generate_normals(MeshObjectX& mesh, int32_t mode, bool tangents) {
    const bool make_normals = !mesh.normals_valid;
    const bool make_tangents = tangents && !mesh.tangents_valid;
    if (!make_normals && !make_tangents) return;
    for (MeshFrame& frame : mesh.frames)
        generate_frame(frame, mode, make_normals, make_tangents);
    if (make_normals) mesh.normals_valid = 1;
    if (make_tangents) mesh.tangents_valid = 1;
}

}  // namespace vexel
