// Internal: the one rule that joins a build stream into triangles, shared by prepare and normal
// generation so that both always see the same triangles.
#pragma once

#include <cstddef>
#include <vector>

#include "mesh/mesh_vertex.h"

namespace vexel {

// Calls emit(i0, i1, i2) with stream indices for every triangle, in stream order. The mode starts
// as independent triangles; a marker switches it and drops the pending vertices. Strips keep one
// winding by alternating which pending vertex is replaced: A, B, C, D, E gives (A, B, C),
// (C, B, D), (C, D, E). Fans keep their first vertex. Leftover vertices form no triangle.
template <typename Emit>
void for_each_triangle(const std::vector<MeshVertex>& stream, Emit&& emit) {
    int32_t mode = kMarkerTriangles;
    size_t pending[3] = {0, 0, 0};
    int count = 0;
    int parity = 0;
    for (size_t i = 0; i < stream.size(); ++i) {
        const int32_t colour = stream[i].colour;
        if (is_marker(colour)) {
            mode = colour;
            count = 0;
            parity = 0;
            continue;
        }
        pending[count++] = i;
        if (count < 3) continue;
        emit(pending[0], pending[1], pending[2]);
        if (mode == kMarkerTriangles) {
            count = 0;
            continue;
        }
        if (mode == kMarkerFan || parity == 1) {
            pending[1] = pending[2];
        } else {
            pending[0] = pending[2];
        }
        if (mode == kMarkerStrip) parity ^= 1;
        count = 2;
    }
}

// Counts the triangles for_each_triangle makes, fed the colour values of the records in stream
// order, so that a reader can count them while it decodes and reserve the triangle list.
class TriangleCounter {
public:
    void add(int32_t colour) {
        if (is_marker(colour)) {
            mode_ = colour;
            pending_ = 0;
            return;
        }
        if (++pending_ < 3) return;
        ++triangles_;
        pending_ = mode_ == kMarkerTriangles ? 0 : 2;
    }
    size_t triangles() const { return triangles_; }

private:
    int32_t mode_ = kMarkerTriangles;
    int pending_ = 0;
    size_t triangles_ = 0;
};

inline size_t count_triangles(const std::vector<MeshVertex>& stream) {
    TriangleCounter counter;
    for (const MeshVertex& record : stream)
        counter.add(record.colour);
    return counter.triangles();
}

}  // namespace vexel
