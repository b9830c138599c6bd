#include <algorithm>
#include <cstdio>
#include <vector>

#include <vexel/error.h>

#include "mesh/little_endian.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_formats.h"
#include "mesh/normal_table.h"
#include "mesh/triangulation.h"

namespace vexel {

namespace {

constexpr size_t kMagicSize = 4;
constexpr size_t kHeaderSize = 20;  // version, frames, palette size, pair count
constexpr size_t kRecordSize = 14;
constexpr size_t kQuantisedRecordSize = 5;
constexpr size_t kQuantisedFrameHead = 24;  // offset and scale
constexpr size_t kPaletteReach = 256;       // a record's palette index is one byte

// Hands out the file's bytes in order, never past its end: a count from the file never asks for
// more than the file still holds.
class ByteCursor {
public:
    ByteCursor(const uint8_t* bytes, size_t size) : next_(bytes), end_(bytes + size) {}

    size_t remaining() const { return static_cast<size_t>(end_ - next_); }

    // The next n bytes, or null when the file holds fewer.
    const uint8_t* take(uint64_t n) {
        if (n > remaining()) return nullptr;
        const uint8_t* at = next_;
        next_ += n;
        return at;
    }

private:
    const uint8_t* next_;
    const uint8_t* end_;
};

struct Layout {
    size_t palette_size = 0;
    const uint8_t* pairs = nullptr;  // u, v of record 0, then record 1, ... as stored
    // Per reachable palette entry, a record holding all that a record takes from its entry:
    // colour value, colour floats, palette index and, in older files, the tangents.
    std::vector<MeshVertex> prototypes;
};

struct Quantisation {
    float offset[3] = {0, 0, 0};
    float scale[3] = {0, 0, 0};
};

// Decodes count records straight from the file's bytes into the frame's stream, in one pass over
// storage reserved up front, counting the triangles they make on the way so that prepare finds
// the triangle list reserved. False for an index the file has no entry for.
template <bool kQuantised>
bool decode_frame(const Layout& layout, const Quantisation& q, const uint8_t* records,
                  uint32_t count, MeshFrame& frame) {
    constexpr size_t kSize = kQuantised ? kQuantisedRecordSize : kRecordSize;
    std::vector<MeshVertex>& stream = frame.build_stream;
    stream.reserve(count);
    TriangleCounter triangles;
    const uint8_t* pair = layout.pairs;
    for (uint32_t i = 0; i < count; ++i, records += kSize, pair += 8) {
        const uint8_t normal_index = records[kSize - 2];
        const uint8_t palette_index = records[kSize - 1];
        if (normal_index >= kNormalTableSize || palette_index >= layout.palette_size) return false;
        MeshVertex vertex = layout.prototypes[palette_index];
        if constexpr (kQuantised) {
            vertex.position = Vec3f{(records[0] - q.offset[0]) * q.scale[0],
                                    (records[1] - q.offset[1]) * q.scale[1],
                                    (records[2] - q.offset[2]) * q.scale[2]};
        } else {
            vertex.position =
                Vec3f{load_f32(records), load_f32(records + 4), load_f32(records + 8)};
        }
        const float* normal = kNormalTable[normal_index];
        vertex.normal = Vec3f{normal[0], normal[1], normal[2]};
        vertex.u = load_f32(pair);
        // Before 2.0, files held v as given; the model keeps it negated.
        vertex.v = kQuantised ? -load_f32(pair + 4) : load_f32(pair + 4);
        stream.push_back(vertex);
        triangles.add(vertex.colour);
    }
    frame.triangles.reserve(3 * triangles.triangles());
    return true;
}

bool read_frame(ByteCursor& in, const Layout& layout, bool quantised, uint32_t count,
                MeshFrame& frame) {
    Quantisation q;
    if (quantised) {
        const uint8_t* head = in.take(kQuantisedFrameHead);
        if (!head) return false;
        for (int i = 0; i < 3; ++i) {
            q.offset[i] = load_f32(head + 4 * i);
            q.scale[i] = load_f32(head + 12 + 4 * i);
        }
    }
    const size_t size = quantised ? kQuantisedRecordSize : kRecordSize;
    const uint8_t* records = in.take(static_cast<uint64_t>(count) * size);
    if (!records) return false;
    return quantised ? decode_frame<true>(layout, q, records, count, frame)
                     : decode_frame<false>(layout, q, records, count, frame);
}

std::vector<MeshVertex> palette_prototypes(const std::vector<int32_t>& palette, bool quantised) {
    std::vector<MeshVertex> prototypes(std::min(palette.size(), kPaletteReach));
    for (size_t i = 0; i < prototypes.size(); ++i) {
        MeshVertex& prototype = prototypes[i];
        prototype.palette_index = static_cast<uint8_t>(i);
        prototype.set_colour(palette[i]);
        if (quantised) {
            // Older files give tangent and bitangent the first table entry.
            const float* first = kNormalTable[0];
            prototype.tangent = prototype.bitangent = Vec3f{first[0], first[1], first[2]};
        }
    }
    return prototypes;
}

}  // namespace

MeshReadStatus read_binary_mesh(const uint8_t* bytes, size_t size, MeshObjectX& mesh) {
    ByteCursor in(bytes, size);
    const uint8_t* header = in.take(kMagicSize) ? in.take(kHeaderSize) : nullptr;
    if (!header) return MeshReadStatus::kReadError;
    const double version = load_f64(header);
    const int32_t frame_count = load_i32(header + 8);
    const int32_t palette_size = load_i32(header + 12);
    const int32_t pair_count = load_i32(header + 16);
    if (!(version >= kOldestMeshVersion && version <= kMeshVersion)) {
        char message[512];
        std::snprintf(message, sizeof message, "Wrong .vxm version: %.2f. Can use 1.02-%.2f\n",
                      version, kMeshVersion);
        append_error_log(message);
        return MeshReadStatus::kWrongVersion;
    }
    if (frame_count < 0 || palette_size < 0 || pair_count < 0) return MeshReadStatus::kReadError;

    const bool quantised = version < kMeshVersion;
    const uint64_t least_frame = quantised ? 4 + kQuantisedFrameHead : 4;
    const uint64_t table_bytes =
        static_cast<uint64_t>(palette_size) * 4 + static_cast<uint64_t>(pair_count) * 8;
    if (table_bytes + least_frame * static_cast<uint64_t>(frame_count) > in.remaining())
        return MeshReadStatus::kReadError;

    const uint8_t* palette_bytes = in.take(static_cast<uint64_t>(palette_size) * 4);
    mesh.palette.resize(static_cast<size_t>(palette_size));
    for (size_t i = 0; i < mesh.palette.size(); ++i)
        mesh.palette[i] = load_i32(palette_bytes + 4 * i);
    Layout layout;
    layout.palette_size = mesh.palette.size();
    layout.pairs = in.take(static_cast<uint64_t>(pair_count) * 8);
    layout.prototypes = palette_prototypes(mesh.palette, quantised);

    mesh.frames.resize(static_cast<size_t>(frame_count));
    int32_t records_per_frame = 0;
    for (int32_t f = 0; f < frame_count; ++f) {
        const uint8_t* count_bytes = in.take(4);
        if (!count_bytes) return MeshReadStatus::kReadError;
        const int32_t count = load_i32(count_bytes);
        // Every record needs its (u, v) pair, and the renderer blends frames record by record.
        if (count < 0 || count > pair_count) return MeshReadStatus::kReadError;
        if (f == 0) records_per_frame = count;
        if (count != records_per_frame) return MeshReadStatus::kReadError;
        if (!read_frame(in, layout, quantised, static_cast<uint32_t>(count), mesh.frames[f]))
            return MeshReadStatus::kReadError;
    }
    mesh.normals_valid = 1;
    return MeshReadStatus::kRead;
}

}  // namespace vexel
