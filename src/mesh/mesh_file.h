// Internal: mesh files. The binary format starts with a magic number and a version (1.02 to 2.0
// are read, 2.0 is written); a file without the magic is read as the text variant "VXMA".
// Every reader treats the file as hostile: counts are checked against what is left of the file
// before anything is allocated and every index is checked before it is used.
#pragma once

#include <cstdint>
#include <string_view>

#include "mesh/mesh_object.h"

namespace vexel {

inline constexpr uint32_t kMeshMagic = 0x00C6B317;
inline constexpr double kOldestMeshVersion = 1.02;
inline constexpr double kMeshVersion = 2.0;

// Clears the mesh and reads a binary or text mesh file into its frames' build streams; normals
// count as valid. The file is read in one block and decoded from memory. A file that cannot be
// opened fails quietly (last error 3). Any other failure leaves the mesh cleared and logs
// "# read error" (or "# malloc error", last error 7) and the file name; a binary version out of
// range also logs "Wrong .vxm version: ...". On failure *reason, when given, says why in a few
// words: "not found", "not a mesh file", "damaged", "unsupported version", "too many records" or
// "out of memory".
bool read_mesh_file(const char* name, MeshObjectX& mesh, std::string_view* reason = nullptr);

// What a mesh load that ran out of memory leaves: "# malloc error" and the file name in the error
// log, last error 7.
void log_out_of_memory(const char* name);

// Writes the mesh as version 2.0: palette, the (u, v) of frame 0's records and per frame the
// positions with a one-byte normal index and the palette index. The bytes go to a temporary file
// renamed over the name once complete, so a failed write leaves what had the name as it was.
// A mesh not finished yet gets the palette finishing would give it. False, with nothing written,
// for a mesh without frames or with frames of unequal length, a "mem://" name or a file that
// cannot be written.
bool write_mesh_file(const char* name, const MeshObjectX& mesh);

// The normal-table entry the writer stores for a normal: the one with the smallest
// |n · (n - entry)| after n is normalised; on equal errors the later entry wins.
uint8_t nearest_normal_index(const Vec3f& normal);

}  // namespace vexel
