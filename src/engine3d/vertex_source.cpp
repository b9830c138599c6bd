#include "engine3d/vertex_source.h"

#include <algorithm>
#include <cmath>

#include "engine3d/duderedi_3d.h"
#include "mesh/vec3_math.h"

namespace vexel::engine3d {

namespace {

constexpr float kLowestShade = 0.05f;
constexpr float kHighestShade = 0.95f;

Vec3f blended(const Vec3f& a, const Vec3f& b, float weight) {
    return Vec3f{b.x + (a.x - b.x) * weight, b.y + (a.y - b.y) * weight,
                 b.z + (a.z - b.z) * weight};
}

Vec3f direction_to(const Vec3f& light, const Vec3f& from) {
    return normalised(sub(light, from));
}

// The tangent-space light vector mapped into 0..1, used as the record's colour.
void put_bump_light(MeshVertex& record, const Vec3f& d) {
    record.reserved =
        Vec3f{dot(record.tangent, d) * 0.5f + 0.5f, dot(record.bitangent, d) * 0.5f + 0.5f,
              dot(record.normal, d) * 0.5f + 0.5f};
}

// The ramp coordinates: across by how much the record faces the light, down to its colour's row.
void put_ramp_coordinates(MeshVertex& record, const Vec3f& d, float row_height) {
    record.bitangent.x = std::clamp(dot(record.normal, d), kLowestShade, kHighestShade);
    record.bitangent.y = (static_cast<float>(record.palette_index) + 0.5f) * row_height;
}

}  // namespace

void fill_blend_buffer(MeshObjectX& mesh, const FrameChoice& choice, const BlendExtras& extras) {
    const std::vector<MeshVertex>& from = mesh.frames[static_cast<size_t>(choice.a)].triangles;
    const std::vector<MeshVertex>& towards = mesh.frames[static_cast<size_t>(choice.b)].triangles;
    mesh.blend.assign(from.begin(), from.end());
    if (choice.weight != 0) {
        const size_t shared = std::min(from.size(), towards.size());
        for (size_t i = 0; i < shared; ++i) {
            MeshVertex& record = mesh.blend[i];
            record.position = blended(from[i].position, towards[i].position, choice.weight);
            record.normal = blended(from[i].normal, towards[i].normal, choice.weight);
        }
    }
    for (MeshVertex& record : mesh.blend) {
        if (extras.effect == kEffectBumpMapping) {
            put_bump_light(record, direction_to(extras.light, record.position));
        } else if (extras.effect == kEffectCelShading) {
            put_ramp_coordinates(record, direction_to(extras.light, record.position),
                                 extras.ramp_row_height);
        }
        record.u += extras.offset_u;
        record.v += extras.offset_v;
    }
}

void push_out_along_normals(std::vector<MeshVertex>& records, float width) {
    for (MeshVertex& record : records) {
        record.position.x += record.normal.x * width;
        record.position.y += record.normal.y * width;
        record.position.z += record.normal.z * width;
    }
}

}  // namespace vexel::engine3d
