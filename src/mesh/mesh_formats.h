// Internal: the two readers behind read_mesh_file. Both decode a whole file already in memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mesh/mesh_object.h"

namespace vexel {

enum class MeshReadStatus {
    kRead,
    kReadError,       // logged as "# read error": the file is damaged
    kWrongVersion,    // a binary version outside 1.02 ... 2.0, logged with its own line as well
    kTooManyRecords,  // logged as "# read error": more records than a mesh may hold
    kQuietFailure,    // not a mesh of a readable kind; nothing logged
};

// The binary format: bytes[0 .. size) is the whole file, magic included.
MeshReadStatus read_binary_mesh(const uint8_t* bytes, size_t size, MeshObjectX& mesh);
// The text variant over the whole file; text[size] must be a zero byte.
MeshReadStatus read_text_mesh(const char* text, size_t size, MeshObjectX& mesh);

}  // namespace vexel
