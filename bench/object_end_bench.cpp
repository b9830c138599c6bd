// Finishing a built object with the script's commands: object_end on a grid of 100 strips of
// 1,000 vertices (100,000 records; palette, position-shared normals, triangulation, bounds),
// against building the same object with object_start / object_add_vertex / object_new_group and
// against copying its records once, the floor of any pass over them. No window is needed: the
// object table lives in the 3D state, created here without a GL context.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include <vexel/scene3d.h>

#include "engine3d/duderedi_3d.h"
#include "mesh/mesh_vertex.h"

namespace {

constexpr int kRows = 100;
constexpr int kColumns = 500;  // two vertices per column: 1,000 per strip
constexpr int kVertices = kRows * kColumns * 2;
constexpr int32_t kSlot = 0;

void build_grid() {
    vexel::object_start(kSlot);
    for (int row = 0; row < kRows; ++row) {
        if (row > 0) vexel::object_new_group();
        for (int column = 0; column < kColumns; ++column) {
            for (int side = 0; side < 2; ++side) {
                const double x = column;
                const double z = row + side;
                vexel::object_add_vertex(x, std::cos(x * 0.05) * std::sin(z * 0.05), z,
                                         x / kColumns, z / kRows, 0xFFFFFF);
            }
        }
    }
}

vexel::engine3d::Duderedi3D& scene() {
    static vexel::engine3d::Duderedi3D& state = vexel::engine3d::create_duderedi_3d(nullptr);
    return state;
}

void BM_ObjectEnd(benchmark::State& state) {
    scene();
    for (auto _ : state) {
        state.PauseTiming();
        build_grid();
        state.ResumeTiming();
        vexel::object_end();
        benchmark::DoNotOptimize(scene().objects[kSlot].meshes.data());
    }
    if (vexel::count_faces(kSlot) != kRows * (kColumns * 2 - 2)) state.SkipWithError("faces");
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_ObjectEnd)->Unit(benchmark::kMillisecond);

void BM_BuildWithObjectAddVertex(benchmark::State& state) {
    scene();
    for (auto _ : state) {
        build_grid();
        benchmark::DoNotOptimize(scene().objects[kSlot].meshes.data());
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_BuildWithObjectAddVertex)->Unit(benchmark::kMillisecond);

// The floor: the built records copied once.
void BM_CopyBuiltRecords(benchmark::State& state) {
    scene();
    build_grid();
    const std::vector<vexel::MeshVertex> built =
        scene().objects[kSlot].meshes[0].frames[0].build_stream;
    std::vector<vexel::MeshVertex> copy;
    for (auto _ : state) {
        copy = built;
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(built.size()) *
                            static_cast<int64_t>(sizeof(vexel::MeshVertex)));
}
BENCHMARK(BM_CopyBuiltRecords)->Unit(benchmark::kMillisecond);

}  // namespace
