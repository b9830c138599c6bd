#include "triangle_strips.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "mesh/triangulation.h"

namespace vexel {
namespace {

using Triangle = std::array<uint32_t, 3>;

// Each triangle turned to its smallest rotation (the winding stays), all sorted.
std::vector<Triangle> canonical(std::vector<Triangle> triangles) {
    for (Triangle& t : triangles)
        t = std::min({t, Triangle{t[1], t[2], t[0]}, Triangle{t[2], t[0], t[1]}});
    std::sort(triangles.begin(), triangles.end());
    return triangles;
}

// The layout as the engine turns a build stream into triangles.
std::vector<Triangle> drawn(const std::vector<uint32_t>& layout) {
    std::vector<MeshVertex> stream;
    for (uint32_t item : layout) {
        MeshVertex record;
        if (vxmconv::is_mark(item)) {
            record = make_marker(item == vxmconv::kStripMark ? kMarkerStrip : kMarkerTriangles);
        } else {
            record.position.x = static_cast<float>(item);
        }
        stream.push_back(record);
    }
    std::vector<Triangle> triangles;
    for_each_triangle(stream, [&](size_t a, size_t b, size_t c) {
        triangles.push_back({static_cast<uint32_t>(stream[a].position.x),
                             static_cast<uint32_t>(stream[b].position.x),
                             static_cast<uint32_t>(stream[c].position.x)});
    });
    return triangles;
}

std::vector<Triangle> grid(uint32_t columns, uint32_t rows, bool reversed) {
    std::vector<Triangle> triangles;
    for (uint32_t r = 0; r < rows; ++r) {
        for (uint32_t c = 0; c < columns; ++c) {
            const uint32_t a = r * (columns + 1) + c;
            const uint32_t b = a + columns + 1;
            triangles.push_back({a, b, a + 1});
            triangles.push_back({a + 1, b, b + 1});
        }
    }
    if (reversed) {
        for (Triangle& t : triangles)
            std::swap(t[1], t[2]);
    }
    return triangles;
}

TEST(TriangleStripsTest, EveryTriangleComesOutOnceWithItsWinding) {
    const struct {
        const char* name;
        std::vector<Triangle> triangles;
        size_t most_records;  // 0: no bound
    } cases[] = {
        {"grid", grid(6, 4, false), 48 + 20},
        {"grid reversed", grid(6, 4, true), 48 + 20},
        {"fan", {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 5}, {0, 5, 6}, {0, 6, 1}}, 0},
        {"apart", {{0, 1, 2}, {3, 4, 5}}, 7},
        {"inconsistent", {{0, 1, 2}, {1, 2, 3}, {2, 3, 4}}, 0},
        {"three on one edge", {{0, 1, 2}, {1, 0, 3}, {1, 0, 4}, {0, 1, 5}}, 0},
        {"degenerate", {{0, 0, 1}, {0, 1, 2}, {2, 1, 1}}, 0},
    };
    for (const auto& c : cases) {
        std::vector<uint32_t> corners;
        uint32_t vertices = 0;
        for (const Triangle& t : c.triangles) {
            corners.insert(corners.end(), t.begin(), t.end());
            vertices = std::max({vertices, t[0] + 1, t[1] + 1, t[2] + 1});
        }
        const std::vector<uint32_t> layout = vxmconv::strip_triangles(corners, vertices);
        ASSERT_FALSE(layout.empty()) << c.name;
        EXPECT_TRUE(vxmconv::is_mark(layout[0])) << c.name;
        EXPECT_EQ(canonical(drawn(layout)), canonical(c.triangles)) << c.name;
        if (c.most_records) {
            EXPECT_LE(layout.size(), c.most_records) << c.name;
        }
    }
}

}  // namespace
}  // namespace vexel
