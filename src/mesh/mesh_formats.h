// Internal: the two readers behind read_mesh_file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "io/file_stream.h"
#include "mesh/mesh_object.h"

namespace vexel {

enum class MeshReadStatus {
    kRead,
    kReadError,     // logged as "# read error"
    kQuietFailure,  // not a mesh of a readable kind; nothing logged
};

// The binary format, with the stream just past the magic.
MeshReadStatus read_binary_mesh(FileStream& stream, MeshObjectX& mesh);
// The text variant over the whole file; text[size] must be a zero byte.
MeshReadStatus read_text_mesh(const char* text, size_t size, MeshObjectX& mesh);

}  // namespace vexel
