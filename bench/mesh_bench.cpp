// Loading binary meshes of 100,000 and 1,000,000 independent triangles from memory and from disk,
// against reading the same file with one fread and against writing as many 92-byte records into
// fresh storage (what any reader of the model must at least do); finishing a built object of
// 100,000 vertices (palette, position-shared normals, triangulation, bounds); looking up every key
// of a 64 KiB multi-mesh description. The files are written with the engine's own writer into the
// temporary folder when the program starts and removed at the end. Memory is kept as the engine
// keeps it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <vexel/error.h>

#include "io/virtual_files.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_object.h"
#include "mesh/object_slot.h"
#include "mesh/section_file.h"
#include "platform/memory_policy.h"

namespace {

using vexel::MeshObjectX;
using vexel::MeshVertex;

// The engine keeps freed memory from start-up on (platform/memory_policy.h), so the figures do too:
// without it, blocks from 128 KiB up come fresh from the system on every load.
const bool kKeepsFreedMemory = (vexel::platform::keep_freed_memory(), true);

// Triangles of a wavy surface, each with its own three records after one marker.
MeshObjectX triangle_mesh(int64_t triangles) {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    auto& stream = mesh.frames[0].build_stream;
    stream.reserve(static_cast<size_t>(triangles) * 3 + 1);
    stream.push_back(vexel::make_marker(vexel::kMarkerTriangles));
    for (int64_t t = 0; t < triangles; ++t) {
        const float x = static_cast<float>(t % 1000);
        const float z = static_cast<float>(t / 1000);
        const float corners[3][2] = {{x, z}, {x + 1, z}, {x, z + 1}};
        for (const auto& corner : corners) {
            MeshVertex record;
            record.position = vexel::Vec3f{corner[0], std::sin(corner[0] * 0.1f), corner[1]};
            record.u = corner[0] / 1000;
            record.v = -corner[1] / 1000;
            record.set_colour(t % 7 == 0 ? 0x3399FF : 0xFFFFFF);
            stream.push_back(record);
        }
    }
    vexel::build_palette(mesh);
    vexel::generate_normals(mesh, 2, false);
    return mesh;
}

// A grid of strips, 100,000 vertices, as object_start / object_add_vertex / object_new_group
// would leave it before object_end.
MeshObjectX built_strips() {
    MeshObjectX mesh;
    mesh.frames.resize(1);
    auto& stream = mesh.frames[0].build_stream;
    constexpr int kRows = 100;
    constexpr int kColumns = 500;  // two vertices per column: 1,000 per strip
    for (int row = 0; row < kRows; ++row) {
        stream.push_back(vexel::make_marker(vexel::kMarkerStrip));
        for (int column = 0; column < kColumns; ++column) {
            for (int side = 0; side < 2; ++side) {
                MeshVertex record;
                const float x = static_cast<float>(column);
                const float z = static_cast<float>(row + side);
                record.position = vexel::Vec3f{x, std::cos(x * 0.05f) * std::sin(z * 0.05f), z};
                record.u = x / kColumns;
                record.v = -z / kRows;
                record.set_colour(0xFFFFFF);
                stream.push_back(record);
            }
        }
    }
    return mesh;
}

struct MeshFile {
    std::string path;
    std::string bytes;
    std::unique_ptr<vexel::MemoryFile> memory;
    int64_t triangles = 0;

    MeshFile(const std::string& name, int64_t count) : triangles(count) {
        path = std::string(vexel::temp_folder()) + name;
        if (!vexel::write_mesh_file(path.c_str(), triangle_mesh(count))) std::abort();
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) std::abort();
        std::fseek(file, 0, SEEK_END);
        bytes.resize(static_cast<size_t>(std::ftell(file)));
        std::fseek(file, 0, SEEK_SET);
        if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
        std::fclose(file);
        memory =
            std::make_unique<vexel::MemoryFile>(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    ~MeshFile() { ::unlink(path.c_str()); }
};

MeshFile& file_of(int64_t triangles) {
    static MeshFile small("vexel_mesh_bench_100k.vxm", 100000);
    static MeshFile large("vexel_mesh_bench_1m.vxm", 1000000);
    return triangles == small.triangles ? small : large;
}

void report(benchmark::State& state, const MeshFile& file) {
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.bytes.size()));
    state.SetItemsProcessed(state.iterations() * file.triangles);
}

void BM_ReadMeshFromMemory(benchmark::State& state) {
    const MeshFile& file = file_of(state.range(0));
    MeshObjectX mesh;
    for (auto _ : state) {
        if (!vexel::read_mesh_file(file.memory->name().c_str(), mesh)) state.SkipWithError("read");
        benchmark::DoNotOptimize(mesh.frames.data());
    }
    report(state, file);
}
BENCHMARK(BM_ReadMeshFromMemory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ReadMeshFromDisk(benchmark::State& state) {
    const MeshFile& file = file_of(state.range(0));
    MeshObjectX mesh;
    for (auto _ : state) {
        if (!vexel::read_mesh_file(file.path.c_str(), mesh)) state.SkipWithError("read");
        benchmark::DoNotOptimize(mesh.frames.data());
    }
    report(state, file);
}
BENCHMARK(BM_ReadMeshFromDisk)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The floor: the same bytes into memory with one fread, nothing decoded.
void BM_FreadWholeFile(benchmark::State& state) {
    const MeshFile& file = file_of(state.range(0));
    std::vector<char> buffer(file.bytes.size());
    for (auto _ : state) {
        std::FILE* in = std::fopen(file.path.c_str(), "rb");
        if (!in || std::fread(buffer.data(), 1, buffer.size(), in) != buffer.size())
            state.SkipWithError("fread");
        if (in) std::fclose(in);
        benchmark::DoNotOptimize(buffer.data());
    }
    report(state, file);
}
BENCHMARK(BM_FreadWholeFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The floor under reading: the file's records, one marker and three per triangle, written as
// 92-byte records into new storage, nothing decoded. Blocks above 32 MiB come fresh from the
// system each time, smaller ones from what the process freed before.
void BM_WriteFreshRecords(benchmark::State& state) {
    const MeshFile& file = file_of(state.range(0));
    const size_t records = static_cast<size_t>(file.triangles) * 3 + 1;
    MeshVertex prototype;
    prototype.set_colour(0xFFFFFF);
    for (auto _ : state) {
        std::vector<MeshVertex> stream;
        stream.reserve(records);
        for (size_t i = 0; i < records; ++i) {
            prototype.position.x = static_cast<float>(i);
            stream.push_back(prototype);
        }
        benchmark::DoNotOptimize(stream.data());
    }
    report(state, file);
}
BENCHMARK(BM_WriteFreshRecords)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What load_object does with a file: read, triangulate, bound.
void BM_LoadObjectSlotFromMemory(benchmark::State& state) {
    const MeshFile& file = file_of(state.range(0));
    vexel::ObjectSlot slot;
    for (auto _ : state) {
        if (!vexel::load_object_slot(slot, file.memory->name().c_str()))
            state.SkipWithError("load");
        benchmark::DoNotOptimize(slot.meshes.data());
    }
    report(state, file);
}
BENCHMARK(BM_LoadObjectSlotFromMemory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A description of 1,480 meshes (64,051 bytes), every key looked up as loading the slot does: the
// count, then per mesh its file and its two texture numbers.
void BM_DescriptionLookups(benchmark::State& state) {
    constexpr int kMeshes = 1480;
    std::string text = ";VXW\n[objects]\ncount=1480\n";
    for (int i = 1; i <= kMeshes; ++i) {
        const std::string n = std::to_string(i);
        text += n + "=meshes/piece" + n + ".vxm\n" + n + "ta=" + n + "\n" + n + "tb=0\n";
    }
    const vexel::MemoryFile memory(text.data(), static_cast<uint32_t>(text.size()));
    for (auto _ : state) {
        vexel::SectionFile description;
        description.read(memory.name().c_str());
        int64_t found = vexel::text_to_int(description.get("objects", "count"));
        for (int i = 1; i <= kMeshes; ++i) {
            const std::string n = std::to_string(i);
            found += description.get("objects", n.c_str()).length();
            found += vexel::text_to_int(description.get("objects", (n + "ta").c_str()));
            found += vexel::text_to_int(description.get("objects", (n + "tb").c_str()));
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DescriptionLookups)->Unit(benchmark::kMillisecond);

void BM_FinishBuiltObject(benchmark::State& state) {
    const MeshObjectX built = built_strips();
    const size_t vertices = built.frames[0].build_stream.size();
    for (auto _ : state) {
        state.PauseTiming();
        MeshObjectX mesh;
        mesh.frames.resize(1);
        mesh.frames[0].build_stream = built.frames[0].build_stream;
        state.ResumeTiming();
        vexel::build_palette(mesh);
        vexel::generate_normals(mesh, 2, false);
        mesh.prepare();
        vexel::compute_bounds(mesh);
        benchmark::DoNotOptimize(mesh.frames[0].triangles.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(vertices));
}
BENCHMARK(BM_FinishBuiltObject)->Unit(benchmark::kMillisecond);

}  // namespace
