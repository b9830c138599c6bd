#include "engine3d/shadow_volume.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/gl_enable_cache.h"

namespace vexel::engine3d {

namespace {

constexpr float kSameVertex = 0.00001f;
constexpr double kLargestCell = 1e15;

struct Cell {
    int64_t x = 0;
    int64_t y = 0;
    int64_t z = 0;
    bool operator==(const Cell&) const = default;
};

// Mixed as unsigned bit patterns: far, infinite or undefined coordinates give cells whose
// products would overflow a signed number.
struct CellHash {
    size_t operator()(const Cell& c) const {
        const auto bits = [](int64_t v) { return static_cast<uint64_t>(v); };
        return std::hash<uint64_t>()(bits(c.x) * 73856093u ^ bits(c.y) * 19349663u ^
                                     bits(c.z) * 83492791u);
    }
};

int64_t cell_of(float value) {
    const double cell = std::floor(static_cast<double>(value) / kSameVertex);
    if (!(cell > -kLargestCell)) return static_cast<int64_t>(-kLargestCell);
    if (!(cell < kLargestCell)) return static_cast<int64_t>(kLargestCell);
    return static_cast<int64_t>(cell);
}

bool same_vertex(const Vec3f& a, const Vec3f& b) {
    return std::fabs(a.x - b.x) < kSameVertex && std::fabs(a.y - b.y) < kSameVertex &&
           std::fabs(a.z - b.z) < kSameVertex;
}

// One number per record: equal for records at (nearly) the same place. Any two such records lie
// in the same or neighbouring cells of a grid of the tolerance's size.
std::vector<uint32_t> weld(const std::vector<MeshVertex>& records) {
    std::unordered_map<Cell, std::vector<uint32_t>, CellHash> grid;
    std::vector<uint32_t> vertex(records.size());
    uint32_t next = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const Vec3f& p = records[i].position;
        const Cell cell{cell_of(p.x), cell_of(p.y), cell_of(p.z)};
        bool found = false;
        for (int64_t dx = -1; dx <= 1 && !found; ++dx) {
            for (int64_t dy = -1; dy <= 1 && !found; ++dy) {
                for (int64_t dz = -1; dz <= 1 && !found; ++dz) {
                    const auto near = grid.find(Cell{cell.x + dx, cell.y + dy, cell.z + dz});
                    if (near == grid.end()) continue;
                    for (uint32_t other : near->second) {
                        if (!same_vertex(p, records[other].position)) continue;
                        vertex[i] = vertex[other];
                        found = true;
                        break;
                    }
                }
            }
        }
        if (!found) {
            vertex[i] = next++;
            grid[cell].push_back(static_cast<uint32_t>(i));
        }
    }
    return vertex;
}

uint64_t edge_key(uint32_t a, uint32_t b) {
    return (uint64_t{std::min(a, b)} << 32) | std::max(a, b);
}

Vec3f minus(const Vec3f& a, const Vec3f& b) {
    return Vec3f{a.x - b.x, a.y - b.y, a.z - b.z};
}

bool faces_light(const MeshVertex* corner, const Vec3f& light) {
    const Vec3f a = minus(corner[0].position, corner[1].position);
    const Vec3f b = minus(corner[2].position, corner[1].position);
    const Vec3f n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const Vec3f c{(corner[0].position.x + corner[1].position.x + corner[2].position.x) / 3,
                  (corner[0].position.y + corner[1].position.y + corner[2].position.y) / 3,
                  (corner[0].position.z + corner[1].position.z + corner[2].position.z) / 3};
    const Vec3f to_light = minus(light, c);
    return n.x * to_light.x + n.y * to_light.y + n.z * to_light.z > 0;
}

void vertex(const Vec3f& p) {
    glVertex3f(p.x, p.y, p.z);
}

// The point where the ray from the light through p ends: infinitely far along it.
void vertex_at_infinity(const Vec3f& p, const Vec3f& light) {
    glVertex4f(p.x - light.x, p.y - light.y, p.z - light.z, 0);
}

void emit_volume(const MeshObjectX& mesh, const std::vector<MeshVertex>& records,
                 const Vec3f& light, bool caps) {
    glBegin(GL_QUADS);
    for (const ShadowEdge& edge : mesh.shadow_edges) {
        if (!edge.silhouette) continue;
        const Vec3f& p = records[edge.first].position;
        const Vec3f& q = records[edge.second].position;
        vertex(q);
        vertex(p);
        vertex_at_infinity(p, light);
        vertex_at_infinity(q, light);
    }
    glEnd();
    if (!caps) return;
    glBegin(GL_TRIANGLES);
    const size_t triangles = std::min(records.size() / 3, mesh.faces_light.size());
    for (size_t t = 0; t < triangles; ++t) {
        for (size_t k = 0; k < 3; ++k) {
            const Vec3f& p = records[t * 3 + k].position;
            if (mesh.faces_light[t]) {
                vertex(p);
            } else {
                vertex_at_infinity(p, light);
            }
        }
    }
    glEnd();
}

}  // namespace

void ensure_shadow_edges(MeshObjectX& mesh) {
    if (!mesh.shadow_edges.empty() || mesh.frames.empty()) return;
    const std::vector<MeshVertex>& records = mesh.frames[0].triangles;
    const std::vector<uint32_t> welded = weld(records);
    const size_t edges = records.size() / 3 * 3;
    mesh.shadow_edges.resize(edges);
    std::vector<std::pair<uint64_t, uint32_t>> by_key(edges);
    for (size_t e = 0; e < edges; ++e) {
        const size_t first = e;
        const size_t second = e - e % 3 + (e + 1) % 3;
        mesh.shadow_edges[e].first = static_cast<uint32_t>(first);
        mesh.shadow_edges[e].second = static_cast<uint32_t>(second);
        by_key[e] = {edge_key(welded[first], welded[second]), static_cast<uint32_t>(e)};
    }
    std::sort(by_key.begin(), by_key.end());
    for (size_t run = 0; run < by_key.size();) {
        size_t end = run;
        while (end < by_key.size() && by_key[end].first == by_key[run].first)
            ++end;
        for (size_t i = run; i < end; ++i) {
            const uint32_t e = by_key[i].second;
            for (size_t j = run; j < end; ++j) {
                const uint32_t other = by_key[j].second;
                if (other / 3 == e / 3) continue;
                mesh.shadow_edges[e].neighbour = static_cast<int32_t>(other / 3);
                break;
            }
        }
        run = end;
    }
}

void find_silhouette(MeshObjectX& mesh, const MeshFrame& frame, const Vec3f& light) {
    const size_t triangles = frame.triangles.size() / 3;
    mesh.faces_light.assign(triangles, 0);
    for (size_t t = 0; t < triangles; ++t)
        mesh.faces_light[t] = faces_light(&frame.triangles[t * 3], light) ? 1 : 0;
    for (ShadowEdge& edge : mesh.shadow_edges) {
        const size_t t = edge.first / 3;
        const bool lit = t < triangles && mesh.faces_light[t];
        const bool lit_neighbour = edge.neighbour >= 0 &&
                                   static_cast<size_t>(edge.neighbour) < triangles &&
                                   mesh.faces_light[static_cast<size_t>(edge.neighbour)];
        edge.silhouette = lit && !lit_neighbour && edge.second < frame.triangles.size() ? 1 : 0;
    }
}

void draw_shadow_volume(const Duderedi3D& state, const MeshObjectX& mesh, const MeshFrame& frame,
                        const Vec3f& light, bool caps) {
    GLint front_face = GL_CCW;
    glGetIntegerv(GL_FRONT_FACE, &front_face);
    // The volume's outside runs clockwise, the winding of the meshes' front faces.
    glFrontFace(GL_CW);
    platform::gl_enable(GL_CULL_FACE);
    platform::gl_disable(GL_LIGHTING);
    glDepthFunc(GL_LESS);
    const GLenum culled[2] = {GL_BACK, GL_FRONT};
    const GLenum counted[2] = {GL_INCR, GL_DECR};
    for (int pass = 0; pass < 2; ++pass) {
        glCullFace(culled[pass]);
        glStencilFunc(GL_ALWAYS, 0, ~0u);
        glStencilOp(GL_KEEP, GL_KEEP, counted[pass]);
        emit_volume(mesh, frame.triangles, light, caps);
    }
    glFrontFace(static_cast<GLenum>(front_face));
    if (state.lights_mask != 0) platform::gl_enable(GL_LIGHTING);
}

}  // namespace vexel::engine3d
