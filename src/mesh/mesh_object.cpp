#include "mesh/mesh_object.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "mesh/mesh_hooks.h"
#include "mesh/triangulation.h"

namespace vexel {

namespace {

// Squared lengths at or below this count as zero throughout the mesh code.
constexpr float kTinySquared = 1e-7f;

bool is_plain_colour(int32_t value) {
    return value != 0xFFFFFF && (value < kWhiteVertex || value > kMarkerTriangles);
}

void multiply(Vec3f& v, const Vec3f& by) {
    v.x *= by.x;
    v.y *= by.y;
    v.z *= by.z;
}

}  // namespace

MeshObjectX::~MeshObjectX() {
    release_gpu();
}

MeshObjectX::MeshObjectX(MeshObjectX&& other) noexcept
    : MeshObject(std::move(other)),
      frames(std::move(other.frames)),
      blend(std::move(other.blend)),
      palette(std::move(other.palette)),
      normals_valid(other.normals_valid),
      tangents_valid(other.tangents_valid),
      has_vertex_colours(other.has_vertex_colours),
      gpu(std::exchange(other.gpu, MeshGpuResources{})),
      shadow_edges(std::move(other.shadow_edges)),
      faces_light(std::move(other.faces_light)),
      texture_a(other.texture_a),
      texture_b(other.texture_b) {}

MeshObjectX& MeshObjectX::operator=(MeshObjectX&& other) noexcept {
    if (this == &other) return *this;
    release_gpu();
    frames = std::move(other.frames);
    blend = std::move(other.blend);
    palette = std::move(other.palette);
    normals_valid = other.normals_valid;
    tangents_valid = other.tangents_valid;
    has_vertex_colours = other.has_vertex_colours;
    gpu = std::exchange(other.gpu, MeshGpuResources{});
    shadow_edges = std::move(other.shadow_edges);
    faces_light = std::move(other.faces_light);
    texture_a = other.texture_a;
    texture_b = other.texture_b;
    return *this;
}

void MeshObjectX::release_gpu() {
    release_mesh_gpu(gpu);
}

void MeshObjectX::clear() {
    release_gpu();
    frames = {};
    blend = {};
    palette = {};
    shadow_edges = {};
    faces_light = {};
    normals_valid = 0;
    tangents_valid = 0;
    has_vertex_colours = 0;
}

// Markers are recognised by the record's own colour value. For every mesh whose palette has at
// most 256 entries that is the palette entry its index points at; past 256 the wrapped index
// would point at another colour and could turn an ordinary vertex into a marker.
void MeshObjectX::prepare() {
    for (MeshFrame& frame : frames) {
        std::vector<MeshVertex>& triangles = frame.triangles;
        const std::vector<MeshVertex>& stream = frame.build_stream;
        triangles.clear();
        // Loaders reserve the list while they read; a built mesh is counted here.
        if (triangles.capacity() == 0) triangles.reserve(3 * count_triangles(stream));
        for_each_triangle(stream, [&triangles, &stream](size_t a, size_t b, size_t c) {
            triangles.push_back(stream[a]);
            triangles.push_back(stream[b]);
            triangles.push_back(stream[c]);
        });
    }
    if (frames.empty()) {
        blend.clear();
    } else {
        blend = frames[0].triangles;
    }
    has_vertex_colours = std::any_of(palette.begin(), palette.end(), is_plain_colour) ? 1 : 0;
}

void build_palette(MeshObjectX& mesh) {
    mesh.palette.clear();
    std::unordered_map<int32_t, size_t> positions;
    for (MeshFrame& frame : mesh.frames) {
        for (MeshVertex& record : frame.build_stream) {
            auto [entry, added] = positions.try_emplace(record.colour, mesh.palette.size());
            if (added) mesh.palette.push_back(record.colour);
            record.palette_index = static_cast<uint8_t>(entry->second);
        }
    }
}

void compute_bounds(MeshObjectX& mesh) {
    for (MeshFrame& frame : mesh.frames) {
        frame.bound_centre = Vec3f{};
        frame.bound_radius = 0;
        if (frame.triangles.empty()) continue;
        double sx = 0;
        double sy = 0;
        double sz = 0;
        for (const MeshVertex& record : frame.triangles) {
            sx += record.position.x;
            sy += record.position.y;
            sz += record.position.z;
        }
        const double count = static_cast<double>(frame.triangles.size());
        const Vec3f centre{static_cast<float>(sx / count), static_cast<float>(sy / count),
                           static_cast<float>(sz / count)};
        // The square root is monotonic and correctly rounded: taking it once of the largest
        // square gives the largest distance exactly.
        float largest = 0;
        for (const MeshVertex& record : frame.triangles) {
            const float dx = record.position.x - centre.x;
            const float dy = record.position.y - centre.y;
            const float dz = record.position.z - centre.z;
            const float squared = dx * dx + dy * dy + dz * dz;
            if (squared > kTinySquared) largest = std::max(largest, squared);
        }
        frame.bound_centre = centre;
        frame.bound_radius = std::sqrt(largest);
    }
}

void scale_mesh(MeshObjectX& mesh, float x, float y, float z) {
    const Vec3f factors{x, y, z};
    Vec3f direction{1, 1, 1};
    const float squared = x * x + y * y + z * z;
    if (squared > kTinySquared) {
        const float length = std::sqrt(squared);
        direction = Vec3f{x / length, y / length, z / length};
    }
    for (MeshFrame& frame : mesh.frames) {
        for (MeshVertex& record : frame.build_stream) {
            multiply(record.position, factors);
            multiply(record.normal, direction);
            multiply(record.tangent, direction);
            multiply(record.bitangent, direction);
        }
        for (MeshVertex& record : frame.triangles) {
            multiply(record.position, factors);
            multiply(record.normal, factors);
            multiply(record.tangent, factors);
            multiply(record.bitangent, factors);
        }
    }
    // The renderer's static buffer holds the old geometry: let it be made again.
    mesh.release_gpu();
    compute_bounds(mesh);
}

void finish_built_mesh(MeshObjectX& mesh, int32_t normal_mode) {
    build_palette(mesh);
    if (normal_mode == 1 || normal_mode == 2) generate_normals(mesh, normal_mode, false);
    mesh.prepare();
    compute_bounds(mesh);
}

}  // namespace vexel
