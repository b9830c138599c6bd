// vxmconv converting a one-million-triangle glTF (a wavy grid with normals and texture
// coordinates, written as a .glb by this program) into a binary mesh file, against the Open
// Asset Import Library importing the same file with the same post-processing and nothing else.
// Every run is a child process of its own, so that its peak memory (the kernel's maximum
// resident set) is its own; the two alternate round by round (ABBA) and medians are compared.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "converter.h"
#include "scene_import.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kColumns = 708;  // quads across and down: 2 * 708 * 707 = 1,001,112 triangles
constexpr int kRows = 707;
constexpr int kRounds = 6;

void put_u32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

template <typename T>
void put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A .glb of one mesh: positions, normals, texture coordinates and 32-bit indices.
void write_grid_glb(const std::string& path) {
    const int across = kColumns + 1;
    const int down = kRows + 1;
    const uint32_t vertices = static_cast<uint32_t>(across * down);
    std::string positions, normals, coordinates, indices;
    for (int r = 0; r < down; ++r) {
        for (int c = 0; c < across; ++c) {
            const float x = static_cast<float>(c) * 0.01f;
            const float z = static_cast<float>(r) * 0.01f;
            const float y = 0.05f * std::sin(x * 7) * std::cos(z * 5);
            const float dx = 0.35f * std::cos(x * 7) * std::cos(z * 5);
            const float dz = -0.25f * std::sin(x * 7) * std::sin(z * 5);
            const float length = std::sqrt(dx * dx + 1 + dz * dz);
            for (float v : {x, y, z})
                put(positions, v);
            for (float v : {-dx / length, 1 / length, -dz / length})
                put(normals, v);
            for (float v : {x / 7.08f, z / 7.07f})
                put(coordinates, v);
        }
    }
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const uint32_t a = static_cast<uint32_t>(r * across + c);
            for (uint32_t i : {a, a + across, a + 1, a + 1, a + across, a + across + 1})
                put_u32(indices, i);
        }
    }
    const std::string binary = positions + normals + coordinates + indices;
    const size_t p = 0, n = positions.size(), t = n + normals.size(), i = t + coordinates.size();
    char json[2048];
    std::snprintf(
        json, sizeof json,
        R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
        R"("meshes":[{"primitives":[{"attributes":{"POSITION":0,"NORMAL":1,"TEXCOORD_0":2},)"
        R"("indices":3}]}],"buffers":[{"byteLength":%zu}],"bufferViews":[)"
        R"({"buffer":0,"byteOffset":%zu,"byteLength":%zu},{"buffer":0,"byteOffset":%zu,"byteLength":%zu},)"
        R"({"buffer":0,"byteOffset":%zu,"byteLength":%zu},{"buffer":0,"byteOffset":%zu,"byteLength":%zu}],)"
        R"("accessors":[{"bufferView":0,"componentType":5126,"count":%u,"type":"VEC3",)"
        R"("min":[0,-0.05,0],"max":[7.08,0.05,7.07]},)"
        R"({"bufferView":1,"componentType":5126,"count":%u,"type":"VEC3"},)"
        R"({"bufferView":2,"componentType":5126,"count":%u,"type":"VEC2"},)"
        R"({"bufferView":3,"componentType":5125,"count":%zu,"type":"SCALAR"}]})",
        binary.size(), p, positions.size(), n, normals.size(), t, coordinates.size(), i,
        indices.size(), vertices, vertices, vertices, indices.size() / 4);
    std::string chunk = json;
    while (chunk.size() % 4)
        chunk.push_back(' ');
    std::string file;
    put_u32(file, 0x46546C67);  // "glTF"
    put_u32(file, 2);
    put_u32(file, static_cast<uint32_t>(12 + 8 + chunk.size() + 8 + binary.size()));
    put_u32(file, static_cast<uint32_t>(chunk.size()));
    put_u32(file, 0x4E4F534A);  // "JSON"
    file += chunk;
    put_u32(file, static_cast<uint32_t>(binary.size()));
    put_u32(file, 0x004E4942);  // "BIN"
    file += binary;
    std::ofstream(path, std::ios::binary) << file;
}

struct Run {
    double seconds = 0;
    double cpu_seconds = 0;  // user and system time: steadier than the wall clock on a busy machine
    long peak_kib = 0;
    bool ok = false;
};

template <typename Work>
Run in_child(Work work) {
    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) _exit(work() ? 0 : 1);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Run run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.cpu_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peak_kib = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.size() % 2 ? values[values.size() / 2]
                             : (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("vxmconv_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string model = (folder / "grid.glb").string();
    const std::string mesh = (folder / "grid.vxm").string();
    write_grid_glb(model);
    std::printf("input: %s, %.1f MB, %d triangles\n", model.c_str(),
                static_cast<double>(fs::file_size(model)) / 1e6, 2 * kColumns * kRows);

    const auto import_only = [&model] {
        Assimp::Importer importer;
        vxmconv::configure_importer(importer);
        return importer.ReadFile(model, vxmconv::import_flags()) != nullptr;
    };
    const auto convert = [&model, &mesh] {
        vxmconv::Options options;
        options.input = model;
        options.output = mesh;
        std::FILE* quiet = std::fopen("/dev/null", "w");
        vxmconv::convert(options, quiet);
        return true;
    };

    std::vector<double> import_times, convert_times, import_cpu, convert_cpu;
    long import_peak = 0, convert_peak = 0;
    for (int round = 0; round < kRounds; ++round) {
        const bool import_first = round % 2 == 0;  // ABBA
        for (int turn = 0; turn < 2; ++turn) {
            const bool importing = (turn == 0) == import_first;
            const Run run = importing ? in_child(import_only) : in_child(convert);
            if (!run.ok) {
                std::fprintf(stderr, "%s failed\n", importing ? "import" : "conversion");
                return 1;
            }
            (importing ? import_times : convert_times).push_back(run.seconds);
            (importing ? import_cpu : convert_cpu).push_back(run.cpu_seconds);
            long& peak = importing ? import_peak : convert_peak;
            peak = std::max(peak, run.peak_kib);
        }
    }
    const double import_median = median(import_times);
    const double convert_median = median(convert_times);
    const double import_cpu_median = median(import_cpu);
    const double convert_cpu_median = median(convert_cpu);
    std::printf("assimp import alone: median %.3f s wall, %.3f s CPU, peak %.0f MB\n",
                import_median, import_cpu_median, static_cast<double>(import_peak) / 1024);
    std::printf("vxmconv to .vxm:     median %.3f s wall, %.3f s CPU, peak %.0f MB\n",
                convert_median, convert_cpu_median, static_cast<double>(convert_peak) / 1024);
    std::printf(
        "ratios (conversion / import): wall %.2f, CPU %.2f (goal at most 1.50), peak memory "
        "%.2f; %d rounds each, output %.1f MB\n",
        convert_median / import_median, convert_cpu_median / import_cpu_median,
        static_cast<double>(convert_peak) / static_cast<double>(import_peak), kRounds,
        static_cast<double>(fs::file_size(mesh)) / 1e6);
    fs::remove_all(folder);
    return 0;
}
