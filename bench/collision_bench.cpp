// One million collide_sphere calls per case against a wavy surface of 1,000 triangles (25 x 20
// quads of two triangles, in quad order row by row): hits found early, half way and at the last
// triangle, a miss that tests every triangle, and a miss the bounding sphere rejects at once.
// The time per iteration is the time per call; "face" is the triangle each hit found. The engine
// runs head-less meanwhile, so the commands take the current transform level from the 3D state as
// a game's calls do.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <vexel/app.h>
#include <vexel/collision.h>

#include "engine3d/duderedi_3d.h"
#include "mesh/mesh_object.h"
#include "mesh/object_slot.h"

namespace {

constexpr int kColumns = 25;
constexpr int kRows = 20;

float height(float x, float z) {
    return 0.5f * std::sin(x * 0.3f) * std::cos(z * 0.2f);
}

vexel::MeshObjectX surface() {
    vexel::MeshObjectX mesh;
    mesh.frames.resize(1);
    auto& stream = mesh.frames[0].build_stream;
    stream.push_back(vexel::make_marker(vexel::kMarkerTriangles));
    const auto add = [&](float x, float z) {
        vexel::MeshVertex record;
        record.position = vexel::Vec3f{x, height(x, z), z};
        record.set_colour(0xFFFFFF);
        stream.push_back(record);
    };
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const float x = float(column);
            const float z = float(row);
            add(x, z), add(x + 1, z), add(x, z + 1);
            add(x + 1, z), add(x + 1, z + 1), add(x, z + 1);
        }
    }
    vexel::build_palette(mesh);
    mesh.prepare();
    vexel::compute_bounds(mesh);
    return mesh;
}

// Object slot 1 of the engine's own table holds the surface.
void place_surface() {
    vexel::ObjectSlot* slot = vexel::engine3d::object_slot(1);
    slot->used = 1;
    slot->meshes.push_back(surface());
}

// The sphere of radius 0.4 above the point (column + 0.3, row + 0.3) of quad (column, row), its
// centre lift above the surface.
void sphere_on_quad(benchmark::State& state, int column, int row, float lift, int32_t expected) {
    const double x = column + 0.3;
    const double z = row + 0.3;
    const double y = height(float(x), float(z)) + lift;
    if (vexel::collide_sphere(1, 0, 0.4, x, y, z) != expected) {
        state.SkipWithError("unexpected result");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(vexel::collide_sphere(1, 0, 0.4, x, y, z));
    state.counters["face"] = vexel::last_hit_face();
}

void BM_HitEarly(benchmark::State& state) {
    sphere_on_quad(state, 3, 0, 0.1f, 1);
}
void BM_HitHalfWay(benchmark::State& state) {
    sphere_on_quad(state, 12, 10, 0.1f, 1);
}
void BM_HitLastTriangle(benchmark::State& state) {
    sphere_on_quad(state, kColumns - 1, kRows - 1, 0.1f, 1);
}
void BM_MissAfterEveryTriangle(benchmark::State& state) {
    sphere_on_quad(state, 12, 10, 2.0f, 0);
}
void BM_MissRejectedByBounds(benchmark::State& state) {
    sphere_on_quad(state, 12, 10, 40.0f, 0);
}

BENCHMARK(BM_HitEarly)->Iterations(1000000);
BENCHMARK(BM_HitHalfWay)->Iterations(1000000);
BENCHMARK(BM_HitLastTriangle)->Iterations(1000000);
BENCHMARK(BM_MissAfterEveryTriangle)->Iterations(1000000);
BENCHMARK(BM_MissRejectedByBounds)->Iterations(1000000);

}  // namespace

int main(int argc, char** argv) {
    setenv("VEXEL_VIDEO", "offscreen", 0);
    std::string temp = "/tmp/vexel-bench-XXXXXX";
    if (!mkdtemp(temp.data())) return 1;
    setenv("TMPDIR", temp.c_str(), 1);
    vexel::init_engine(0, "collision");
    place_surface();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    vexel::shutdown_engine();
    const std::string log = temp + "/ErrorLog.txt";
    std::remove(log.c_str());
    std::remove(temp.c_str());
    return 0;
}
