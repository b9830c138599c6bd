#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mesh/group_mesh.h"
#include "mesh/mesh_file.h"
#include "support/temp_dir.h"
#include "wall_piece.h"

namespace tile_scene {
namespace {

using vexel::MeshObjectX;
using vexel::MeshVertex;

// What the scene hands to the object commands: every vertex white, each strip ended by a marker.
MeshObjectX wall_piece_mesh() {
    std::vector<vexel::VertexGroup> groups;
    for (const WallStrip& strip : wall_piece_strips(wall_constants())) {
        vexel::VertexGroup group;
        for (const WallVertex& v : strip) {
            vexel::GroupVertex vertex;
            vertex.position = vexel::Vec3f{static_cast<float>(v.x), static_cast<float>(v.y),
                                           static_cast<float>(v.z)};
            group.vertices.push_back(vertex);
        }
        groups.push_back(std::move(group));
    }
    return vexel::build_group_mesh(groups, 2);
}

std::vector<size_t> strip_sizes(const std::vector<MeshVertex>& stream) {
    std::vector<size_t> sizes;
    for (const MeshVertex& record : stream) {
        if (vexel::is_marker(record.colour)) {
            EXPECT_EQ(record.colour, vexel::kMarkerStrip);
            sizes.push_back(0);
        } else {
            EXPECT_FALSE(sizes.empty()) << "a vertex before the first marker";
            if (!sizes.empty()) ++sizes.back();
        }
    }
    return sizes;
}

TEST(WallPieceMeshTest, SavedPieceLoadsBackWithItsEightySixStrips) {
    vexel::testing::ScopedTempDir folder;
    const std::string name = folder.file("Triangle-Wall.vxm");
    const MeshObjectX built = wall_piece_mesh();
    ASSERT_TRUE(vexel::write_mesh_file(name.c_str(), built));

    MeshObjectX loaded;
    ASSERT_TRUE(vexel::read_mesh_file(name.c_str(), loaded));
    ASSERT_EQ(loaded.frames.size(), 1u);
    const std::vector<size_t> sizes = strip_sizes(loaded.frames[0].build_stream);
    ASSERT_EQ(sizes.size(), 86u);
    size_t count[63] = {};
    for (size_t size : sizes)
        ++count[size < 63 ? size : 0];
    EXPECT_EQ(count[20], 72u);
    EXPECT_EQ(count[56], 6u);
    EXPECT_EQ(count[62], 3u);
    EXPECT_EQ(count[3], 2u);
    EXPECT_EQ(count[4], 3u);
    EXPECT_EQ(count[0], 0u);

    // Positions travel exactly; each strip of n vertices gives n - 2 triangles.
    const std::vector<MeshVertex>& original = built.frames[0].build_stream;
    const std::vector<MeshVertex>& read = loaded.frames[0].build_stream;
    ASSERT_EQ(read.size(), original.size());
    for (size_t i = 0; i < read.size(); ++i) {
        ASSERT_EQ(read[i].position.x, original[i].position.x) << i;
        ASSERT_EQ(read[i].position.y, original[i].position.y) << i;
        ASSERT_EQ(read[i].position.z, original[i].position.z) << i;
    }
    loaded.prepare();
    EXPECT_EQ(loaded.frames[0].triangles.size(), 3u * (72 * 18 + 6 * 54 + 3 * 60 + 2 * 1 + 3 * 2));
}

TEST(WallPieceMeshTest, SmoothedNormalsAreUnitVectors) {
    const MeshObjectX mesh = wall_piece_mesh();
    for (const MeshVertex& record : mesh.frames[0].triangles) {
        const vexel::Vec3f& n = record.normal;
        ASSERT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), 1, 1e-4);
    }
    // The bounds reach from the bottom cap to the top of the upper rim.
    float low = 1;
    float high = 0;
    for (const MeshVertex& record : mesh.frames[0].build_stream) {
        if (vexel::is_marker(record.colour)) continue;
        low = std::min(low, record.position.z);
        high = std::max(high, record.position.z);
    }
    EXPECT_NEAR(low, 0.05 - 0.15, 1e-6);
    EXPECT_NEAR(high, 0.75 + 0.15, 1e-6);
}

}  // namespace
}  // namespace tile_scene
