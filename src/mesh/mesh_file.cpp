#include "mesh/mesh_file.h"

#include <new>
#include <string>
#include <vector>

#include <vexel/error.h>

#include "io/file_stream.h"
#include "mesh/little_endian.h"
#include "mesh/mesh_formats.h"

namespace vexel {

namespace {

// Text meshes are small; a larger file is not read into memory.
constexpr int64_t kMaxTextFileSize = 256 << 20;

enum class Outcome { kRead, kReadError, kMallocError, kQuietFailure };

MeshReadStatus read_text_file(FileStream& stream, MeshObjectX& mesh) {
    const int64_t size = stream.size();
    if (size > kMaxTextFileSize) return MeshReadStatus::kReadError;
    std::vector<char> text(static_cast<size_t>(size) + 1, 0);
    if (stream.seek(0, 0) < 0 || !stream.read(text.data(), static_cast<uint32_t>(size)) ||
        stream.position() != size)
        return MeshReadStatus::kReadError;
    return read_text_mesh(text.data(), static_cast<size_t>(size), mesh);
}

Outcome read_opened(FileStream& stream, MeshObjectX& mesh) {
    try {
        uint8_t magic[4] = {0, 0, 0, 0};
        const bool has_magic =
            stream.size() >= 4 && stream.read(magic, sizeof magic) && load_u32(magic) == kMeshMagic;
        const MeshReadStatus status =
            has_magic ? read_binary_mesh(stream, mesh) : read_text_file(stream, mesh);
        switch (status) {
            case MeshReadStatus::kRead:
                return Outcome::kRead;
            case MeshReadStatus::kQuietFailure:
                return Outcome::kQuietFailure;
            case MeshReadStatus::kReadError:
                break;
        }
        return Outcome::kReadError;
    } catch (const std::bad_alloc&) {
        return Outcome::kMallocError;
    }
}

}  // namespace

bool read_mesh_file(const char* name, MeshObjectX& mesh) {
    mesh.clear();
    FileStream stream;
    if (!stream.open_read(name)) {
        set_error(3);
        return false;
    }
    const Outcome outcome = read_opened(stream, mesh);
    if (outcome == Outcome::kRead) return true;
    mesh.clear();
    if (outcome == Outcome::kQuietFailure) {
        set_error(20);
        return false;
    }
    const bool memory = outcome == Outcome::kMallocError;
    std::string message = memory ? "# malloc error\n" : "# read error\n";
    message += name;
    message += '\n';
    append_error_log(message.c_str());
    set_error(memory ? 7 : 20);
    return false;
}

}  // namespace vexel
