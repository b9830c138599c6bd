#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "io/atomic_file.h"
#include "io/virtual_files.h"
#include "mesh/little_endian.h"
#include "mesh/mesh_file.h"
#include "mesh/normal_table.h"

namespace vexel {

namespace {

// The palette a file is written with. A finished or loaded mesh has one that every record's
// index points into at its own colour value, and keeps it. A mesh saved before object_end has
// none yet: it gets the palette finishing would give it, the colour values in record order.
class FilePalette {
public:
    explicit FilePalette(const MeshObjectX& mesh) : colours_(mesh.palette) {
        if (indices_hold(mesh)) return;
        derived_ = true;
        colours_.clear();
        for (const MeshFrame& frame : mesh.frames) {
            for (const MeshVertex& record : frame.build_stream) {
                if (positions_.try_emplace(record.colour, colours_.size()).second)
                    colours_.push_back(record.colour);
            }
        }
    }

    const std::vector<int32_t>& colours() const { return colours_; }

    uint8_t index_of(const MeshVertex& record) const {
        if (!derived_) return record.palette_index;
        return static_cast<uint8_t>(positions_.at(record.colour));
    }

private:
    static bool indices_hold(const MeshObjectX& mesh) {
        for (const MeshFrame& frame : mesh.frames) {
            for (const MeshVertex& record : frame.build_stream) {
                if (record.palette_index >= mesh.palette.size() ||
                    mesh.palette[record.palette_index] != record.colour)
                    return false;
            }
        }
        return true;
    }

    std::vector<int32_t> colours_;
    std::unordered_map<int32_t, size_t> positions_;
    bool derived_ = false;
};

}  // namespace

bool write_mesh_file(const char* name, const MeshObjectX& mesh) {
    if (mesh.frames.empty() || !name || is_memory_name(name)) return false;
    const std::vector<MeshVertex>& first = mesh.frames[0].build_stream;
    size_t records = 0;
    for (const MeshFrame& frame : mesh.frames) {
        // The loader blends frames record by record and takes every record's (u, v) from frame
        // 0's: a file of unequal frames could not be read back.
        if (frame.build_stream.size() != first.size()) return false;
        records += frame.build_stream.size();
    }
    const FilePalette palette(mesh);

    const size_t size = 24 + 4 * palette.colours().size() + 8 * first.size() +
                        4 * mesh.frames.size() + 14 * records;
    // Filled whole below: a zeroed block would only cost a pass over it.
    const std::unique_ptr<uint8_t[]> bytes = std::make_unique_for_overwrite<uint8_t[]>(size);
    LittleEndianWriter out(bytes.get());
    out.u32(kMeshMagic);
    out.f64(kMeshVersion);
    out.i32(static_cast<int32_t>(mesh.frames.size()));
    out.i32(static_cast<int32_t>(palette.colours().size()));
    out.i32(static_cast<int32_t>(first.size()));
    for (int32_t colour : palette.colours())
        out.i32(colour);
    for (const MeshVertex& record : first) {
        out.f32(record.u);
        out.f32(record.v);
    }
    for (const MeshFrame& frame : mesh.frames) {
        out.i32(static_cast<int32_t>(frame.build_stream.size()));
        for (const MeshVertex& record : frame.build_stream) {
            out.f32(record.position.x);
            out.f32(record.position.y);
            out.f32(record.position.z);
            out.u8(nearest_normal_index(record.normal));
            out.u8(palette.index_of(record));
        }
    }

    // A failed write leaves whatever file had the name as it was.
    AtomicFile file(name);
    return file.open() && file.write(bytes.get(), size) && file.commit();
}

}  // namespace vexel
