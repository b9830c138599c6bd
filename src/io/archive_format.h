// Internal: the archive container, read from its end. The last 7 bytes are the mark "voV" and a
// signed 32-bit little-endian directory offset (negative: back from the end of the file, and
// then every data offset counts back from the end too). The directory is a run of entries: one
// byte of name length (0 ends it), the name, a signed 32-bit data offset and a 32-bit stored size.
// Entry data is a 32-bit unpacked size followed by LZO1X-compressed bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/file_stream.h"

namespace vexel {

inline constexpr uint32_t kArchiveTrailerSize = 7;
inline constexpr char kArchiveMark[3] = {'v', 'o', 'V'};
// Larger unpacked sizes are taken as damage, never allocated.
inline constexpr uint32_t kMaxUnpackedSize = 1u << 30;

// The most that packed_size bytes of LZO1X data can unpack to. Its densest instruction, a match
// whose length runs on in zero bytes, takes z + 4 bytes for at most 255 z + 288 bytes of output;
// no instruction yields 256 bytes or more for each byte it takes.
constexpr uint64_t max_unpacked_size(uint32_t packed_size) {
    return uint64_t{packed_size} * 256;
}

struct ArchiveEntry {
    std::string name;
    int32_t offset = 0;        // as stored
    uint32_t stored_size = 0;  // as stored: the size field plus the compressed bytes
    int64_t data_start = 0;    // where the entry's data lies in the file
};

struct UnpackedBlock {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;
};

// The whole directory, in file order. False when the stream is not an archive or the directory
// leaves the file. Entries whose data lies outside the file, or whose names could reach outside
// a folder (a "/" or "\" in them, or the name ".."), are left out.
bool read_archive_directory(FileStream& archive, std::vector<ArchiveEntry>* entries);
// The first entry whose name equals the given one, case ignored.
bool find_archive_entry(FileStream& archive, const char* name, ArchiveEntry* entry);
// Reads and unpacks an entry with the checking decoder. False when the data is damaged.
bool unpack_archive_entry(FileStream& archive, const ArchiveEntry& entry, UnpackedBlock* block);

}  // namespace vexel
