#include "mesh/mesh_file.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include <vexel/error.h>

#include "io/file_stream.h"
#include "mesh/little_endian.h"
#include "mesh/mesh_formats.h"

namespace vexel {

namespace {

// Text meshes are small; a larger file is not read into memory.
constexpr int64_t kMaxTextFileSize = 256 << 20;
constexpr uint32_t kReadChunk = 1u << 30;
constexpr uint32_t kMagicSize = 4;

struct Outcome {
    MeshReadStatus status = MeshReadStatus::kReadError;
    bool out_of_memory = false;
};

bool read_into(FileStream& stream, uint8_t* out, int64_t n) {
    while (n > 0) {
        const uint32_t piece = n > kReadChunk ? kReadChunk : static_cast<uint32_t>(n);
        if (!stream.read(out, piece)) return false;
        out += piece;
        n -= piece;
    }
    return true;
}

// The whole file is read in one block and decoded from memory; a zero byte after it ends the
// text of the text variant.
MeshReadStatus read_opened(FileStream& stream, MeshObjectX& mesh) {
    const int64_t size = stream.size();
    uint8_t magic[kMagicSize] = {0, 0, 0, 0};
    const int64_t head = size >= kMagicSize ? kMagicSize : 0;
    if (!read_into(stream, magic, head)) return MeshReadStatus::kReadError;
    const bool binary = head == kMagicSize && load_u32(magic) == kMeshMagic;
    if (!binary && size > kMaxTextFileSize) return MeshReadStatus::kReadError;

    const auto bytes = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(size) + 1);
    std::copy(magic, magic + head, bytes.get());
    if (!read_into(stream, bytes.get() + head, size - head) || stream.position() != size)
        return MeshReadStatus::kReadError;
    bytes[static_cast<size_t>(size)] = 0;
    if (binary) return read_binary_mesh(bytes.get(), static_cast<size_t>(size), mesh);
    return read_text_mesh(reinterpret_cast<const char*>(bytes.get()), static_cast<size_t>(size),
                          mesh);
}

Outcome read_guarded(FileStream& stream, MeshObjectX& mesh) {
    try {
        return Outcome{read_opened(stream, mesh), false};
    } catch (const std::bad_alloc&) {
        return Outcome{MeshReadStatus::kReadError, true};
    }
}

std::string_view reason_for(const Outcome& outcome) {
    if (outcome.out_of_memory) return "out of memory";
    switch (outcome.status) {
        case MeshReadStatus::kWrongVersion:
            return "unsupported version";
        case MeshReadStatus::kTooManyRecords:
            return "too many records";
        case MeshReadStatus::kQuietFailure:
            return "not a mesh file";
        default:
            return "damaged";
    }
}

}  // namespace

bool read_mesh_file(const char* name, MeshObjectX& mesh, std::string_view* reason) {
    mesh.clear();
    FileStream stream;
    if (!stream.open_read(name)) {
        set_error(3);
        if (reason) *reason = "not found";
        return false;
    }
    const Outcome outcome = read_guarded(stream, mesh);
    if (outcome.status == MeshReadStatus::kRead && !outcome.out_of_memory) return true;
    mesh.clear();
    if (reason) *reason = reason_for(outcome);
    if (outcome.status == MeshReadStatus::kQuietFailure && !outcome.out_of_memory) {
        set_error(20);
        return false;
    }
    if (outcome.out_of_memory) {
        log_out_of_memory(name);
        return false;
    }
    append_error_log((std::string("# read error\n") + name + "\n").c_str());
    set_error(20);
    return false;
}

void log_out_of_memory(const char* name) {
    append_error_log((std::string("# malloc error\n") + name + "\n").c_str());
    set_error(7);
}

}  // namespace vexel
