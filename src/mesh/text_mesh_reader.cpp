#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include <vexel/dyn_string.h>

#include "mesh/mesh_formats.h"

namespace vexel {

namespace {

constexpr double kNewestTextVersion = 1.1;
// A few thousand polygon indices repeated over a few thousand frames would ask for billions of
// records; text meshes are small, so the whole mesh is held to this many, counting both the
// records read and the triangle records their fans become.
constexpr uint64_t kMaxTextRecords = 1u << 22;

bool is_separator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Splits the text into tokens: runs between blanks, tabs and line ends, '#' starting a comment
// that runs to the end of its line.
std::vector<const char*> split_tokens(const char* text, size_t size) {
    std::vector<const char*> tokens;
    size_t i = 0;
    while (i < size) {
        const char c = text[i];
        if (is_separator(c)) {
            ++i;
        } else if (c == '#') {
            while (i < size && text[i] != '\n')
                ++i;
        } else {
            tokens.push_back(text + i);
            while (i < size && !is_separator(text[i]) && text[i] != '#')
                ++i;
        }
    }
    return tokens;
}

// Hands out the tokens in order; every read fails once they run out.
class Tokens {
public:
    explicit Tokens(std::vector<const char*> tokens) : tokens_(std::move(tokens)) {}

    size_t remaining() const { return tokens_.size() - next_; }

    bool word(const char* expected) {
        if (next_ >= tokens_.size()) return false;
        const char* token = tokens_[next_++];
        const size_t length = std::strlen(expected);
        return std::strncmp(token, expected, length) == 0 &&
               (token[length] == 0 || is_separator(token[length]) || token[length] == '#');
    }

    bool number(double& value) {
        if (next_ >= tokens_.size()) return false;
        value = text_to_double(tokens_[next_++]);
        return true;
    }

    bool number(float& value) {
        double wide = 0;
        if (!number(wide)) return false;
        value = static_cast<float>(wide);
        return true;
    }

    // A number truncated to an integer; one outside the int32 range is no integer at all.
    bool integer(int64_t& value) {
        double wide = 0;
        if (!number(wide) || !(wide > -2147483649.0 && wide < 2147483648.0)) return false;
        value = static_cast<int64_t>(wide);
        return true;
    }

    // A count of items that each take at least tokens_each tokens still to come.
    bool count(int64_t& value, uint64_t tokens_each) {
        return integer(value) && value >= 0 &&
               static_cast<uint64_t>(value) * tokens_each <= remaining();
    }

private:
    std::vector<const char*> tokens_;
    size_t next_ = 0;
};

struct Polygon {
    int32_t colour = 0;
    size_t first = 0;  // into the index pools
    size_t vertex_count = 0;
    size_t pair_count = 0;
};

struct TextMesh {
    bool has_normals = false;
    std::vector<float> pairs;  // u, v
    std::vector<Polygon> polygons;
    std::vector<int64_t> vertex_indices;
    std::vector<int64_t> pair_indices;
    std::vector<std::vector<float>> frames;  // x y z [nx ny nz] per vertex
};

bool read_polygons(Tokens& in, TextMesh& mesh) {
    int64_t count = 0;
    if (!in.count(count, 5)) return false;
    mesh.polygons.resize(count);
    for (Polygon& polygon : mesh.polygons) {
        int64_t channel[3] = {0, 0, 0};
        for (int64_t& value : channel) {
            if (!in.integer(value)) return false;
            value = std::clamp<int64_t>(value, 0, 255);
        }
        polygon.colour = static_cast<int32_t>(channel[0] | channel[1] << 8 | channel[2] << 16);
        int64_t vertices = 0;
        if (!in.count(vertices, 1)) return false;
        polygon.first = mesh.vertex_indices.size();
        polygon.vertex_count = vertices;
        for (int64_t i = 0; i < vertices; ++i) {
            int64_t index = 0;
            if (!in.integer(index)) return false;
            mesh.vertex_indices.push_back(index);
        }
        int64_t pairs = 0;
        if (!in.count(pairs, 1)) return false;
        // Pair indices are kept at the same positions as the vertex indices they belong to.
        for (int64_t i = 0; i < pairs; ++i) {
            int64_t index = 0;
            if (!in.integer(index)) return false;
            if (i < vertices) mesh.pair_indices.push_back(index);
        }
        polygon.pair_count = std::min(pairs, vertices);
        mesh.pair_indices.resize(mesh.vertex_indices.size(), -1);
    }
    return true;
}

bool read_frames(Tokens& in, TextMesh& mesh) {
    const uint64_t values_each = mesh.has_normals ? 6 : 3;
    int64_t count = 0;
    if (!in.count(count, 1)) return false;
    mesh.frames.resize(count);
    for (std::vector<float>& frame : mesh.frames) {
        int64_t vertices = 0;
        if (!in.count(vertices, values_each)) return false;
        frame.resize(vertices * values_each);
        for (float& value : frame) {
            if (!in.number(value)) return false;
        }
    }
    return true;
}

// What one frame costs: its build records (a marker and the vertices of every polygon) and the
// records of the triangles they fan into (three for every vertex past a polygon's second).
uint64_t records_per_frame(const TextMesh& text) {
    uint64_t records = text.polygons.size() + text.vertex_indices.size();
    for (const Polygon& polygon : text.polygons) {
        if (polygon.vertex_count > 2) records += 3 * (polygon.vertex_count - 2);
    }
    return records;
}

// Every frame repeats the polygon list, each polygon a fan: a fan marker, then its vertices.
MeshReadStatus build(const TextMesh& text, MeshObjectX& mesh) {
    if (records_per_frame(text) * text.frames.size() > kMaxTextRecords)
        return MeshReadStatus::kTooManyRecords;
    const uint64_t per_frame = text.polygons.size() + text.vertex_indices.size();
    const size_t values_each = text.has_normals ? 6 : 3;
    const size_t pair_total = text.pairs.size() / 2;
    mesh.frames.resize(text.frames.size());
    for (size_t f = 0; f < text.frames.size(); ++f) {
        const std::vector<float>& values = text.frames[f];
        const size_t vertex_total = values.size() / values_each;
        std::vector<MeshVertex>& stream = mesh.frames[f].build_stream;
        stream.reserve(per_frame);
        for (const Polygon& polygon : text.polygons) {
            stream.push_back(make_marker(kMarkerFan));
            for (size_t i = 0; i < polygon.vertex_count; ++i) {
                const int64_t index = text.vertex_indices[polygon.first + i];
                if (index < 0 || static_cast<uint64_t>(index) >= vertex_total)
                    return MeshReadStatus::kReadError;
                const float* vertex = values.data() + index * values_each;
                MeshVertex record;
                record.position = Vec3f{vertex[0], vertex[1], vertex[2]};
                if (text.has_normals) record.normal = Vec3f{vertex[3], vertex[4], vertex[5]};
                if (pair_total > 0 && i < polygon.pair_count) {
                    const int64_t pair = text.pair_indices[polygon.first + i];
                    if (pair < 0 || static_cast<uint64_t>(pair) >= pair_total)
                        return MeshReadStatus::kReadError;
                    record.u = text.pairs[2 * pair];
                    record.v = -text.pairs[2 * pair + 1];
                }
                record.set_colour(polygon.colour);
                stream.push_back(record);
            }
        }
    }
    build_palette(mesh);
    mesh.normals_valid = 1;
    return MeshReadStatus::kRead;
}

}  // namespace

MeshReadStatus read_text_mesh(const char* text, size_t size, MeshObjectX& mesh) {
    Tokens in(split_tokens(text, size));
    double version = 0;
    if (!in.word("VXMA")) return MeshReadStatus::kQuietFailure;
    if (!in.number(version)) return MeshReadStatus::kReadError;
    if (version > kNewestTextVersion) return MeshReadStatus::kQuietFailure;

    TextMesh parsed;
    parsed.has_normals = version >= kNewestTextVersion;
    int64_t pairs = 0;
    if (!in.count(pairs, 2)) return MeshReadStatus::kReadError;
    parsed.pairs.resize(pairs * 2);
    for (float& value : parsed.pairs) {
        if (!in.number(value)) return MeshReadStatus::kReadError;
    }
    if (!read_polygons(in, parsed) || !read_frames(in, parsed)) return MeshReadStatus::kReadError;
    return build(parsed, mesh);
}

}  // namespace vexel
