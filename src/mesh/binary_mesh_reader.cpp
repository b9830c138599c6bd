#include <cstdio>
#include <utility>
#include <vector>

#include <vexel/error.h>

#include "mesh/little_endian.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_formats.h"
#include "mesh/normal_table.h"

namespace vexel {

namespace {

constexpr uint32_t kHeaderSize = 20;  // version, frames, palette size, pair count
constexpr uint32_t kRecordSize = 14;
constexpr uint32_t kQuantisedRecordSize = 5;
constexpr uint32_t kQuantisedFrameHead = 4 + 24;  // count, offset and scale
constexpr uint32_t kReadChunk = 1u << 30;

// Reads only what the file still holds: a count from the file never asks for more.
class BoundedReader {
public:
    explicit BoundedReader(FileStream& stream) : stream_(stream) {}

    uint64_t remaining() const {
        const int64_t left = stream_.size() - stream_.position();
        return left > 0 ? static_cast<uint64_t>(left) : 0;
    }

    bool read(uint8_t* out, uint64_t n) {
        if (n > remaining()) return false;
        while (n > 0) {
            const uint32_t piece = n > kReadChunk ? kReadChunk : static_cast<uint32_t>(n);
            if (!stream_.read(out, piece)) return false;
            out += piece;
            n -= piece;
        }
        return true;
    }

private:
    FileStream& stream_;
};

struct Layout {
    bool quantised = false;
    std::vector<int32_t> palette;
    std::vector<float> pairs;  // u, v of record 0, then record 1, ...
};

// One record into a vertex; false for an index the file has no entry for.
bool decode_record(const Layout& layout, const Vec3f& position, uint8_t normal_index,
                   uint8_t palette_index, size_t record, std::vector<MeshVertex>& stream) {
    if (normal_index >= kNormalTableSize || palette_index >= layout.palette.size()) return false;
    MeshVertex vertex;
    const float* normal = kNormalTable[normal_index];
    vertex.position = position;
    vertex.normal = Vec3f{normal[0], normal[1], normal[2]};
    vertex.u = layout.pairs[2 * record];
    // Before 2.0, files held v as given; the model keeps it negated.
    const float v = layout.pairs[2 * record + 1];
    vertex.v = layout.quantised ? -v : v;
    if (layout.quantised) {
        const float* first = kNormalTable[0];
        vertex.tangent = vertex.bitangent = Vec3f{first[0], first[1], first[2]};
    }
    vertex.palette_index = palette_index;
    vertex.set_colour(layout.palette[palette_index]);
    stream.push_back(vertex);
    return true;
}

bool read_frame(BoundedReader& in, const Layout& layout, uint32_t count, MeshFrame& frame) {
    float offset[3] = {0, 0, 0};
    float scale[3] = {0, 0, 0};
    if (layout.quantised) {
        uint8_t head[24];
        if (!in.read(head, sizeof head)) return false;
        for (int i = 0; i < 3; ++i) {
            offset[i] = load_f32(head + 4 * i);
            scale[i] = load_f32(head + 12 + 4 * i);
        }
    }
    const uint32_t size = layout.quantised ? kQuantisedRecordSize : kRecordSize;
    if (static_cast<uint64_t>(count) * size > in.remaining()) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(count) * size);
    if (!in.read(bytes.data(), bytes.size())) return false;

    frame.build_stream.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* record = bytes.data() + static_cast<size_t>(i) * size;
        Vec3f position;
        if (layout.quantised) {
            position = Vec3f{(record[0] - offset[0]) * scale[0], (record[1] - offset[1]) * scale[1],
                             (record[2] - offset[2]) * scale[2]};
        } else {
            position = Vec3f{load_f32(record), load_f32(record + 4), load_f32(record + 8)};
        }
        const uint8_t* indices = record + size - 2;
        if (!decode_record(layout, position, indices[0], indices[1], i, frame.build_stream))
            return false;
    }
    return true;
}

}  // namespace

MeshReadStatus read_binary_mesh(FileStream& stream, MeshObjectX& mesh) {
    BoundedReader in(stream);
    uint8_t header[kHeaderSize];
    if (!in.read(header, sizeof header)) return MeshReadStatus::kReadError;
    const double version = load_f64(header);
    const int32_t frame_count = load_i32(header + 8);
    const int32_t palette_size = load_i32(header + 12);
    const int32_t pair_count = load_i32(header + 16);
    if (!(version >= kOldestMeshVersion && version <= kMeshVersion)) {
        char message[512];
        std::snprintf(message, sizeof message, "Wrong .vxm version: %.2f. Can use 1.02-%.2f\n",
                      version, kMeshVersion);
        append_error_log(message);
        return MeshReadStatus::kReadError;
    }
    if (frame_count < 0 || palette_size < 0 || pair_count < 0) return MeshReadStatus::kReadError;

    Layout layout;
    layout.quantised = version < kMeshVersion;
    const uint64_t table_bytes =
        static_cast<uint64_t>(palette_size) * 4 + static_cast<uint64_t>(pair_count) * 8;
    const uint64_t least_frame = layout.quantised ? kQuantisedFrameHead : 4;
    if (table_bytes + least_frame * static_cast<uint64_t>(frame_count) > in.remaining())
        return MeshReadStatus::kReadError;

    std::vector<uint8_t> tables(table_bytes);
    if (!in.read(tables.data(), tables.size())) return MeshReadStatus::kReadError;
    layout.palette.resize(palette_size);
    for (int32_t i = 0; i < palette_size; ++i)
        layout.palette[i] = load_i32(tables.data() + 4 * i);
    const uint8_t* pairs = tables.data() + 4 * static_cast<size_t>(palette_size);
    layout.pairs.resize(2 * static_cast<size_t>(pair_count));
    for (size_t i = 0; i < layout.pairs.size(); ++i)
        layout.pairs[i] = load_f32(pairs + 4 * i);

    mesh.frames.resize(frame_count);
    int32_t records_per_frame = 0;
    for (int32_t f = 0; f < frame_count; ++f) {
        uint8_t count_bytes[4];
        if (!in.read(count_bytes, sizeof count_bytes)) return MeshReadStatus::kReadError;
        const int32_t count = load_i32(count_bytes);
        // Every record needs its (u, v) pair, and the renderer blends frames record by record.
        if (count < 0 || count > pair_count) return MeshReadStatus::kReadError;
        if (f == 0) records_per_frame = count;
        if (count != records_per_frame) return MeshReadStatus::kReadError;
        if (!read_frame(in, layout, static_cast<uint32_t>(count), mesh.frames[f]))
            return MeshReadStatus::kReadError;
    }
    mesh.palette = std::move(layout.palette);
    mesh.normals_valid = 1;
    return MeshReadStatus::kRead;
}

}  // namespace vexel
