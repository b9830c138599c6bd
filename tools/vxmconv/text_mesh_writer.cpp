#include "text_mesh_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "conversion_error.h"
#include "mesh/triangulation.h"

namespace vxmconv {

namespace {

using vexel::MeshObjectX;
using vexel::MeshVertex;

// What the engine's reader of the text variant accepts: this many records in the whole mesh
// (a marker and three corners per triangle, in every frame) and files up to this size.
constexpr uint64_t kMostTextRecords = 1u << 22;
constexpr uintmax_t kMostTextBytes = uintmax_t{256} << 20;
constexpr int32_t kWhite = 0xFFFFFF;

// Records that hold the same position and normal in every frame become one vertex of the file.
class VertexTable {
public:
    explicit VertexTable(const MeshObjectX& mesh)
        : mesh_(mesh),
          indices_(
              64, [this](size_t r) { return hash(r); },
              [this](size_t a, size_t b) { return same(a, b); }) {}

    int64_t index_of(size_t record) {
        const auto [entry, added] =
            indices_.try_emplace(record, static_cast<int64_t>(representatives_.size()));
        if (added) representatives_.push_back(record);
        return entry->second;
    }
    const std::vector<size_t>& representatives() const { return representatives_; }

private:
    static void mix(size_t& seed, float value) {
        uint32_t bits = 0;
        value += 0.0f;  // -0 and 0 are the same number
        std::memcpy(&bits, &value, sizeof bits);
        seed ^= bits + 0x9E3779B9u + (seed << 6) + (seed >> 2);
    }
    size_t hash(size_t record) const {
        size_t seed = 0;
        for (const vexel::MeshFrame& frame : mesh_.frames) {
            const MeshVertex& v = frame.build_stream[record];
            for (float value :
                 {v.position.x, v.position.y, v.position.z, v.normal.x, v.normal.y, v.normal.z})
                mix(seed, value);
        }
        return seed;
    }
    bool same(size_t a, size_t b) const {
        for (const vexel::MeshFrame& frame : mesh_.frames) {
            const MeshVertex& x = frame.build_stream[a];
            const MeshVertex& y = frame.build_stream[b];
            if (x.position.x != y.position.x || x.position.y != y.position.y ||
                x.position.z != y.position.z || x.normal.x != y.normal.x ||
                x.normal.y != y.normal.y || x.normal.z != y.normal.z)
                return false;
        }
        return true;
    }

    const MeshObjectX& mesh_;
    std::unordered_map<size_t, int64_t, std::function<size_t(size_t)>,
                       std::function<bool(size_t, size_t)>>
        indices_;
    std::vector<size_t> representatives_;
};

struct Polygon {
    int32_t colour;
    int64_t vertices[3];
    int64_t pairs[3];
};

// The file holds v as a script gives it; the records keep it negated.
std::pair<float, float> pair_of(const MeshVertex& record) {
    return {record.u + 0.0f, -record.v + 0.0f};
}

int32_t polygon_colour(const MeshVertex& first) {
    return first.colour >= 0 && first.colour <= kWhite ? first.colour : kWhite;
}

class TextFile {
public:
    explicit TextFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "w")) {
        if (!file_) throw ConversionError(path + ": cannot write: " + std::strerror(errno));
    }
    ~TextFile() {
        if (file_) {
            std::fclose(file_);
            std::remove(path_.c_str());
        }
    }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    std::FILE* get() { return file_; }
    void close() {
        const bool failed = std::ferror(file_) != 0;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (failed || !closed) {
            std::remove(path_.c_str());
            throw ConversionError(path_ + ": cannot write: " + std::strerror(errno));
        }
    }

private:
    std::string path_;
    std::FILE* file_;
};

}  // namespace

TextMeshSummary write_text_mesh(const std::string& path, const MeshObjectX& mesh) {
    TextMeshSummary summary;
    if (mesh.frames.empty()) throw ConversionError(path + ": the mesh has no frames");
    const std::vector<MeshVertex>& first = mesh.frames[0].build_stream;

    VertexTable vertices(mesh);
    std::map<std::pair<float, float>, int64_t> pair_indices;
    std::vector<std::pair<float, float>> pairs;
    std::vector<Polygon> polygons;
    vexel::for_each_triangle(first, [&](size_t a, size_t b, size_t c) {
        Polygon polygon{polygon_colour(first[a]), {}, {}};
        const size_t corners[3] = {a, b, c};
        for (int k = 0; k < 3; ++k) {
            const MeshVertex& record = first[corners[k]];
            if (record.colour != first[a].colour) summary.colours_merged = true;
            polygon.vertices[k] = vertices.index_of(corners[k]);
            const auto [entry, added] =
                pair_indices.try_emplace(pair_of(record), static_cast<int64_t>(pairs.size()));
            if (added) pairs.push_back(entry->first);
            polygon.pairs[k] = entry->second;
        }
        polygons.push_back(polygon);
    });
    if (4 * polygons.size() * mesh.frames.size() > kMostTextRecords)
        throw ConversionError(path + ": " + std::to_string(polygons.size()) + " triangles in " +
                              std::to_string(mesh.frames.size()) +
                              " frames are more than the engine reads from a text mesh (" +
                              std::to_string(kMostTextRecords / 4) +
                              " in all frames together); write the binary format instead");

    TextFile file(path);
    std::FILE* out = file.get();
    std::fprintf(out, "VXMA 1.1\n# texture coordinates\n%zu\n", pairs.size());
    for (const auto& [u, v] : pairs)
        std::fprintf(out, "%.9g %.9g\n", u, v);
    std::fprintf(out, "# polygons: r g b, vertices, texture coordinates\n%zu\n", polygons.size());
    for (const Polygon& p : polygons) {
        std::fprintf(out, "%d %d %d 3 %lld %lld %lld 3 %lld %lld %lld\n", p.colour & 0xFF,
                     (p.colour >> 8) & 0xFF, (p.colour >> 16) & 0xFF,
                     static_cast<long long>(p.vertices[0]), static_cast<long long>(p.vertices[1]),
                     static_cast<long long>(p.vertices[2]), static_cast<long long>(p.pairs[0]),
                     static_cast<long long>(p.pairs[1]), static_cast<long long>(p.pairs[2]));
    }
    std::fprintf(out, "# frames: x y z nx ny nz per vertex\n%zu\n", mesh.frames.size());
    for (const vexel::MeshFrame& frame : mesh.frames) {
        std::fprintf(out, "%zu\n", vertices.representatives().size());
        for (size_t record : vertices.representatives()) {
            const MeshVertex& v = frame.build_stream[record];
            std::fprintf(out, "%.9g %.9g %.9g %.9g %.9g %.9g\n", v.position.x, v.position.y,
                         v.position.z, v.normal.x, v.normal.y, v.normal.z);
        }
    }
    file.close();
    std::error_code error;
    if (std::filesystem::file_size(path, error) > kMostTextBytes && !error) {
        std::remove(path.c_str());
        throw ConversionError(path +
                              ": larger than the 256 MiB the engine reads as a text mesh; "
                              "write the binary format instead");
    }
    return summary;
}

}  // namespace vxmconv
