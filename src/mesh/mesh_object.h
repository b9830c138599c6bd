// Internal: the in-memory mesh model. A mesh holds animation frames; each frame keeps the records
// as built or loaded (a stream with embedded markers) and, after prepare, a plain triangle list
// that the renderer draws. Nothing here talks to OpenGL: the names of GL objects the renderer
// creates are only kept, and released through the graphics hooks (mesh/mesh_hooks.h).
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/mesh_vertex.h"

namespace vexel {

struct MeshFrame {
    std::vector<MeshVertex> build_stream;  // markers included; frame 0 starts with one
    // Three records a triangle, made by prepare; the binary reader reserves it while it decodes.
    std::vector<MeshVertex> triangles;
    float bound_radius = 0;
    Vec3f bound_centre;
};

// GL objects the renderer makes for a mesh, created lazily and released with it.
struct MeshGpuResources {
    uint32_t static_buffer = 0;  // frame 0's triangle list
    uint32_t stream_buffer = 0;  // refilled from the blend buffer
    uint32_t ramp_texture = 0;   // cel-shading ramp
    float ramp_row_height = 0;

    bool holds_any() const { return static_buffer || stream_buffer || ramp_texture; }
};

// One triangle edge for shadow volumes: its two records in the triangle list, the triangle across
// it (-1 when none) and whether it is on the silhouette from the light.
struct ShadowEdge {
    uint32_t first = 0;
    uint32_t second = 0;
    int32_t neighbour = -1;
    uint8_t silhouette = 0;
};

class MeshObject {
public:
    MeshObject() = default;
    virtual ~MeshObject() = default;
    MeshObject(const MeshObject&) = default;
    MeshObject(MeshObject&&) = default;
    MeshObject& operator=(const MeshObject&) = default;
    MeshObject& operator=(MeshObject&&) = default;

    virtual void prepare() {}
};

class MeshObjectX : public MeshObject {
public:
    MeshObjectX() = default;
    ~MeshObjectX() override;
    MeshObjectX(const MeshObjectX&) = delete;
    MeshObjectX& operator=(const MeshObjectX&) = delete;
    // The moved-from mesh keeps no GL names, so they are released exactly once.
    MeshObjectX(MeshObjectX&& other) noexcept;
    MeshObjectX& operator=(MeshObjectX&& other) noexcept;

    // Per frame, joins the build stream into the triangle list (markers switch between
    // independent triangles, strips and fans); then the blend buffer becomes a copy of frame 0's
    // triangles and has_vertex_colours is worked out from the palette.
    void prepare() override;

    // Frees frames, blend buffer, palette and shadow data, releases the GL objects and clears
    // the flags. texture_a and texture_b stay: they belong to the slot's layout.
    void clear();
    // Releases the GL objects through the graphics hooks; the renderer makes them again.
    void release_gpu();

    std::vector<MeshFrame> frames;
    std::vector<MeshVertex> blend;
    std::vector<int32_t> palette;
    int32_t normals_valid = 0;
    int32_t tangents_valid = 0;
    int32_t has_vertex_colours = 0;
    MeshGpuResources gpu;
    std::vector<ShadowEdge> shadow_edges;
    std::vector<uint8_t> faces_light;  // one byte per triangle of the drawn frame
    int32_t texture_a = -1;            // -1 or an index into the slot's textures
    int32_t texture_b = -1;
};

// Gives every record of every frame its palette_index: the position of its colour value in the
// palette, which is rebuilt from scratch in record order. The index is one byte, so from the
// 257th distinct value on it wraps.
void build_palette(MeshObjectX& mesh);

// Accumulates face normals per frame, unless the normals are valid already; mode 2 shares one
// normal between records at the same position, any other mode gives each record its own. With
// tangents, the texture-space tangent and bitangent are made the same way unless they are valid.
// Only the build streams change: prepare carries the result into the triangle lists.
void generate_normals(MeshObjectX& mesh, int32_t mode, bool tangents);

// Per frame, the sphere around the triangle list: centre the mean of its records, radius the
// largest distance from it.
void compute_bounds(MeshObjectX& mesh);

// What finishing a built mesh does: the palette is built, normals are generated in mode 1 or 2
// (any other mode keeps the records' normals), then prepare and the bounds. The stream stays as
// built, the marker after the last strip included: it starts an empty group that draws nothing.
void finish_built_mesh(MeshObjectX& mesh, int32_t normal_mode);

// Multiplies positions of both arrays by (x, y, z); normal, tangent and bitangent of the triangle
// lists by (x, y, z), those of the build streams by its direction. Then recomputes the bounds.
void scale_mesh(MeshObjectX& mesh, float x, float y, float z);

}  // namespace vexel
