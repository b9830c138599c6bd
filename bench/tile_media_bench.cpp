// The tile scene's work outside the renderer: the wall piece's strips, finishing them into a mesh
// with smoothed normals as the scene's start does, writing and reading it back as
// "Triangle-Wall.vxm", and making each generated medium (water texture, tile meshes).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "image/image_buffer.h"
#include "mesh/group_mesh.h"
#include "mesh/mesh_file.h"
#include "tile_meshes.h"
#include "wall_piece.h"
#include "water_texture.h"

namespace {

std::vector<vexel::VertexGroup> wall_groups() {
    std::vector<vexel::VertexGroup> groups;
    for (const tile_scene::WallStrip& strip :
         tile_scene::wall_piece_strips(tile_scene::wall_constants())) {
        vexel::VertexGroup group;
        for (const tile_scene::WallVertex& v : strip) {
            vexel::GroupVertex vertex;
            vertex.position = vexel::Vec3f{static_cast<float>(v.x), static_cast<float>(v.y),
                                           static_cast<float>(v.z)};
            group.vertices.push_back(vertex);
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

void BM_WallPieceStrips(benchmark::State& state) {
    const tile_scene::WallConstants wall = tile_scene::wall_constants();
    for (auto _ : state)
        benchmark::DoNotOptimize(tile_scene::wall_piece_strips(wall));
}
BENCHMARK(BM_WallPieceStrips)->Unit(benchmark::kMicrosecond);

void BM_WallPieceFinished(benchmark::State& state) {
    const std::vector<vexel::VertexGroup> groups = wall_groups();
    for (auto _ : state)
        benchmark::DoNotOptimize(vexel::build_group_mesh(groups, 2));
}
BENCHMARK(BM_WallPieceFinished)->Unit(benchmark::kMicrosecond);

void BM_WallPieceSavedAndLoaded(benchmark::State& state) {
    const vexel::MeshObjectX mesh = vexel::build_group_mesh(wall_groups(), 2);
    const char* folder = std::getenv("TMPDIR");
    const std::string name = std::string(folder ? folder : "/tmp") + "/tile_media_bench_" +
                             std::to_string(getpid()) + ".vxm";
    for (auto _ : state) {
        vexel::write_mesh_file(name.c_str(), mesh);
        vexel::MeshObjectX loaded;
        benchmark::DoNotOptimize(vexel::read_mesh_file(name.c_str(), loaded));
    }
    std::remove(name.c_str());
}
BENCHMARK(BM_WallPieceSavedAndLoaded)->Unit(benchmark::kMicrosecond);

void BM_WaterTexture(benchmark::State& state) {
    vexel::ImageBuffer picture;
    for (auto _ : state)
        benchmark::DoNotOptimize(tile_media::make_water_texture(picture));
}
BENCHMARK(BM_WaterTexture)->Unit(benchmark::kMillisecond);

void BM_TileMeshes(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(tile_media::make_square_tile());
        benchmark::DoNotOptimize(tile_media::make_triangle_tile());
        benchmark::DoNotOptimize(tile_media::make_hexagon_tile());
        benchmark::DoNotOptimize(tile_media::make_square_wall());
    }
}
BENCHMARK(BM_TileMeshes)->Unit(benchmark::kMicrosecond);

}  // namespace
