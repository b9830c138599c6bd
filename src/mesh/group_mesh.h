// Internal: a one-frame mesh put together from groups of vertices, for code that makes meshes
// without the script's object commands (media generators, tests). The result is what finishing a
// built object gives: the build stream with its markers, palette, normals, triangles and bounds.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/mesh_object.h"

namespace vexel {

struct GroupVertex {
    Vec3f position;
    Vec3f normal;
    float u = 0;
    float v = 0;                // as a script gives it; the record stores it negated
    int32_t colour = 0xFFFFFF;  // -1, -2 or -3 reads as a marker, as with object_add_vertex
};

// The vertices that follow one marker: a strip, a fan or independent triangles.
struct VertexGroup {
    int32_t marker = kMarkerStrip;
    std::vector<GroupVertex> vertices;
};

// Each group becomes its marker record followed by its vertices. Normal mode 1 or 2 generates
// normals as finishing an object does (mode 2 smooths across coincident positions); any other
// mode keeps the normals given and marks them valid.
MeshObjectX build_group_mesh(const std::vector<VertexGroup>& groups, int32_t normal_mode);

}  // namespace vexel
