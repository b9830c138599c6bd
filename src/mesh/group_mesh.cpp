#include "mesh/group_mesh.h"

namespace vexel {

MeshObjectX build_group_mesh(const std::vector<VertexGroup>& groups, int32_t normal_mode) {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    std::vector<MeshVertex>& stream = mesh.frames[0].build_stream;
    size_t records = 0;
    for (const VertexGroup& group : groups)
        records += 1 + group.vertices.size();
    stream.reserve(records);

    for (const VertexGroup& group : groups) {
        stream.push_back(make_marker(group.marker));
        for (const GroupVertex& vertex : group.vertices) {
            MeshVertex record;
            record.position = vertex.position;
            record.normal = vertex.normal;
            record.u = vertex.u;
            record.v = -vertex.v;
            record.set_colour(vertex.colour);
            stream.push_back(record);
        }
    }

    if (normal_mode != 1 && normal_mode != 2) mesh.normals_valid = 1;
    finish_built_mesh(mesh, normal_mode);
    return mesh;
}

}  // namespace vexel
