#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "media_files.h"
#include "mesh/mesh_file.h"
#include "support/temp_dir.h"
#include "tile_meshes.h"

namespace tile_media {
namespace {

using vexel::MeshObjectX;
using vexel::MeshVertex;
using vexel::Vec3f;

struct Point {
    double x;
    double y;
};

const double kRoot3 = std::sqrt(3.0);

std::vector<Point> square_corners() {
    return {{-0.5, -0.5}, {0.5, -0.5}, {0.5, 0.5}, {-0.5, 0.5}};
}
std::vector<Point> triangle_corners() {
    return {{0, 1 / kRoot3}, {-0.5, -0.5 / kRoot3}, {0.5, -0.5 / kRoot3}};
}
std::vector<Point> hexagon_corners() {
    return {{kRoot3 / 2, 0.5},   {0, 1},  {-kRoot3 / 2, 0.5},
            {-kRoot3 / 2, -0.5}, {0, -1}, {kRoot3 / 2, -0.5}};
}

std::string built_file(const char* name) {
    return std::string(VEXEL_TILE_SCENE_DIR) + "/" + name;
}

// A mesh file read back and finished the way loading an object does.
MeshObjectX load(const std::string& name) {
    MeshObjectX mesh;
    EXPECT_TRUE(vexel::read_mesh_file(name.c_str(), mesh)) << name;
    mesh.prepare();
    vexel::compute_bounds(mesh);
    return mesh;
}

std::vector<MeshVertex> vertices_of(const MeshObjectX& mesh) {
    std::vector<MeshVertex> out;
    for (const MeshVertex& record : mesh.frames.at(0).build_stream)
        if (!vexel::is_marker(record.colour)) out.push_back(record);
    return out;
}

Vec3f cross(const Vec3f& a, const Vec3f& b) {
    return Vec3f{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3f minus(const Vec3f& a, const Vec3f& b) {
    return Vec3f{a.x - b.x, a.y - b.y, a.z - b.z};
}
float dot(const Vec3f& a, const Vec3f& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Counter-clockwise seen from the side the normals point to, with unit normals.
void expect_front_faces_match_normals(const MeshObjectX& mesh, const char* what) {
    const std::vector<MeshVertex>& triangles = mesh.frames[0].triangles;
    ASSERT_FALSE(triangles.empty()) << what;
    for (size_t i = 0; i < triangles.size(); i += 3) {
        const Vec3f face = cross(minus(triangles[i + 1].position, triangles[i].position),
                                 minus(triangles[i + 2].position, triangles[i].position));
        if (dot(face, face) < 1e-12f) continue;
        for (size_t k = i; k < i + 3; ++k) {
            ASSERT_NEAR(std::sqrt(dot(triangles[k].normal, triangles[k].normal)), 1, 1e-4) << what;
            ASSERT_GT(dot(face, triangles[k].normal), 0) << what << " triangle " << i / 3;
        }
    }
}

// Every directed edge is matched by the same edge run the other way: a closed surface whose
// triangles all face outwards the same way.
void expect_closed_surface(const MeshObjectX& mesh, const char* what) {
    using Key = std::tuple<float, float, float, float, float, float>;
    std::map<Key, int> edges;
    const std::vector<MeshVertex>& triangles = mesh.frames[0].triangles;
    for (size_t i = 0; i < triangles.size(); i += 3) {
        for (size_t k = 0; k < 3; ++k) {
            const Vec3f& a = triangles[i + k].position;
            const Vec3f& b = triangles[i + (k + 1) % 3].position;
            if (a.x == b.x && a.y == b.y && a.z == b.z) continue;
            ++edges[Key{a.x, a.y, a.z, b.x, b.y, b.z}];
        }
    }
    for (const auto& [edge, count] : edges) {
        const auto& [ax, ay, az, bx, by, bz] = edge;
        const auto back = edges.find(Key{bx, by, bz, ax, ay, az});
        ASSERT_TRUE(back != edges.end()) << what << ": open edge (" << ax << ", " << ay << ", "
                                         << az << ") - (" << bx << ", " << by << ", " << bz << ")";
        ASSERT_EQ(count, back->second) << what;
    }
}

// The corners of the slab's foot are exactly the expected outline (plus the bottom's centre),
// one unit apart, and nothing of the tile reaches outside it.
void expect_outline(const MeshObjectX& mesh, const std::vector<Point>& corners, const char* what) {
    std::vector<Point> foot;
    for (const MeshVertex& v : vertices_of(mesh)) {
        if (v.position.z != 0 || (v.position.x == 0 && v.position.y == 0)) continue;
        const bool known = std::any_of(foot.begin(), foot.end(), [&](Point p) {
            return std::hypot(p.x - v.position.x, p.y - v.position.y) < 1e-6;
        });
        if (!known) foot.push_back(Point{v.position.x, v.position.y});
    }
    ASSERT_EQ(foot.size(), corners.size()) << what;
    for (Point c : corners) {
        const bool found = std::any_of(foot.begin(), foot.end(), [&](Point p) {
            return std::hypot(p.x - c.x, p.y - c.y) < 1e-6;
        });
        EXPECT_TRUE(found) << what << ": no corner at (" << c.x << ", " << c.y << ")";
    }
    for (size_t i = 0; i < corners.size(); ++i) {
        const Point a = corners[i];
        const Point b = corners[(i + 1) % corners.size()];
        EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 1, 1e-9) << what;
        for (const MeshVertex& v : vertices_of(mesh)) {
            // Left of every counter-clockwise edge, or on it.
            const double side =
                (b.x - a.x) * (v.position.y - a.y) - (b.y - a.y) * (v.position.x - a.x);
            ASSERT_GE(side, -1e-6) << what;
        }
    }
}

void expect_slab_heights(const MeshObjectX& mesh, float top, const char* what) {
    float low = 1;
    float high = -1;
    for (const MeshVertex& v : vertices_of(mesh)) {
        low = std::min(low, v.position.z);
        high = std::max(high, v.position.z);
    }
    EXPECT_FLOAT_EQ(low, 0) << what;
    EXPECT_FLOAT_EQ(high, top) << what;
}

// Light enough in every channel to show each channel of the coloured spot light.
void expect_light_vertex_colours(const MeshObjectX& mesh, const char* what) {
    EXPECT_EQ(mesh.has_vertex_colours, 1) << what;
    for (const MeshVertex& v : vertices_of(mesh)) {
        ASSERT_GE(std::min({v.red, v.green, v.blue}), 0.55f) << what;
        ASSERT_LT(std::min({v.red, v.green, v.blue}), 1.0f) << what;
    }
}

TEST(TileMeshesTest, TilesAreClosedUnitSlabsWithOutwardNormals) {
    const struct {
        const char* name;
        std::vector<Point> corners;
    } tiles[] = {{kSquareTileName, square_corners()},
                 {kTriangleTileName, triangle_corners()},
                 {kHexagonTileName, hexagon_corners()}};
    for (const auto& tile : tiles) {
        const MeshObjectX mesh = load(built_file(tile.name));
        ASSERT_EQ(mesh.frames.size(), 1u) << tile.name;
        expect_slab_heights(mesh, 0.05f, tile.name);
        expect_outline(mesh, tile.corners, tile.name);
        expect_front_faces_match_normals(mesh, tile.name);
        expect_closed_surface(mesh, tile.name);
        expect_light_vertex_colours(mesh, tile.name);
        EXPECT_NEAR(mesh.frames[0].bound_centre.x, 0, 0.05) << tile.name;
        EXPECT_NEAR(mesh.frames[0].bound_centre.y, 0, 0.05) << tile.name;
    }
}

TEST(TileMeshesTest, TheBevelLeavesTheTopInsetFromTheOutline) {
    const MeshObjectX mesh = load(built_file(kSquareTileName));
    float widest = 0;
    size_t up = 0;
    for (const MeshVertex& v : vertices_of(mesh)) {
        if (v.position.z == 0.05f) widest = std::max(widest, std::fabs(v.position.x));
        if (v.position.z == 0.05f && v.normal.z > 0.99f) ++up;
        if (v.position.z > 0.0f && v.position.z < 0.05f) {
            EXPECT_FLOAT_EQ(v.position.z, 0.03f);
        }
    }
    EXPECT_FLOAT_EQ(widest, 0.5f - kBevelWidth);
    EXPECT_GT(up, 4u);
}

TEST(TileMeshesTest, TriangleTileTexturesOneWaterCell) {
    const MeshObjectX mesh = load(built_file(kTriangleTileName));
    float u_low = 1, u_high = -1, v_low = 1, v_high = -1;
    for (const MeshVertex& v : vertices_of(mesh)) {
        u_low = std::min(u_low, v.u);
        u_high = std::max(u_high, v.u);
        v_low = std::min(v_low, v.v);
        v_high = std::max(v_high, v.v);
    }
    EXPECT_NEAR(u_low, 0, 1e-7);
    EXPECT_NEAR(u_high, 0.125, 1e-7);
    // Stored negated, as the object commands store it.
    EXPECT_NEAR(v_low, -0.125, 1e-7);
    EXPECT_NEAR(v_high, 0, 1e-7);
    // The corner at +y is the middle of the cell's top edge.
    for (const MeshVertex& v : vertices_of(mesh)) {
        if (std::fabs(v.position.y - 1 / kRoot3) < 1e-6) {
            EXPECT_NEAR(v.u, 0.0625, 1e-6);
            EXPECT_NEAR(v.v, 0, 1e-6);
        }
    }
}

TEST(TileMeshesTest, SquareWallRisesToThreeQuartersAlongTheMinusYEdge) {
    const MeshObjectX mesh = load(built_file(kSquareWallName));
    expect_slab_heights(mesh, 0.75f, kSquareWallName);
    expect_front_faces_match_normals(mesh, kSquareWallName);
    expect_light_vertex_colours(mesh, kSquareWallName);
    size_t facing_up_on_top = 0;
    for (const MeshVertex& v : vertices_of(mesh)) {
        ASSERT_LE(std::fabs(v.position.x), 0.5f);
        ASSERT_LE(std::fabs(v.position.y), 0.5f);
        if (v.position.z <= 0.05f) continue;
        // Above the tile only the wall and its fillet: a band along y = -0.5.
        ASSERT_LE(v.position.y, -0.5f + kWallThickness + 0.05f + 1e-6f);
        if (v.position.z == 0.75f) {
            EXPECT_NEAR(v.position.y, -0.5f + kWallThickness / 2, 1e-6);
            if (v.normal.z > 0.99f) ++facing_up_on_top;  // rounded over the top
        }
    }
    EXPECT_GE(facing_up_on_top, 2u);
}

TEST(TileMeshesTest, GeneratorWritesWhatTheBuildPutNextToTheGame) {
    vexel::testing::ScopedTempDir folder;
    std::string failed;
    ASSERT_TRUE(write_tile_media(folder.path(), failed)) << failed;
    for (const char* name : {kWaterTextureName, kSquareTileName, kTriangleTileName,
                             kHexagonTileName, kSquareWallName}) {
        const std::string made = vexel::testing::read_file(folder.file(name));
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_EQ(made, vexel::testing::read_file(built_file(name))) << name;
    }
}

TEST(TileMeshesTest, GeneratorReportsTheFileItCannotWrite) {
    std::string failed;
    EXPECT_FALSE(write_tile_media("/nonexistent-folder/", failed));
    EXPECT_EQ(failed, std::string("/nonexistent-folder/") + kWaterTextureName);
}

}  // namespace
}  // namespace tile_media
