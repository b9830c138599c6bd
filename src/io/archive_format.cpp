#include "io/archive_format.h"

#include <lzo/lzo1x.h>

#include <cstring>
#include <new>

#include "io/names.h"

namespace vexel {

namespace {

// Older tools wrote the mark as these three bytes; archives carrying it are read all the same.
constexpr uint8_t kLegacyMark[3] = {0x73, 0x62, 0x58};

int32_t little_endian_32(const uint8_t* bytes) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

bool read_at(FileStream& stream, int64_t offset, void* buffer, uint32_t n) {
    if (stream.seek(offset, 0) < 0) return false;
    if (!stream.read(buffer, n)) return false;
    // A memory stream copies what is left without failing; the whole span must be there.
    return stream.position() <= stream.size() && offset + n <= stream.size();
}

// Names are single path components: no separator, and never the parent folder itself. Dots
// elsewhere ("lvl..1.txt") are ordinary characters.
bool safe_entry_name(const std::string& name) {
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos && name != "..";
}

bool lzo_ready() {
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

}  // namespace

bool read_archive_directory(FileStream& archive, std::vector<ArchiveEntry>* entries) {
    entries->clear();
    const int64_t file_size = archive.size();
    if (file_size < kArchiveTrailerSize) return false;
    const int64_t trailer_start = file_size - kArchiveTrailerSize;
    uint8_t trailer[kArchiveTrailerSize];
    if (!read_at(archive, trailer_start, trailer, kArchiveTrailerSize)) return false;
    if (std::memcmp(trailer, kArchiveMark, 3) != 0 && std::memcmp(trailer, kLegacyMark, 3) != 0) {
        return false;
    }
    const int32_t directory_offset = little_endian_32(trailer + 3);
    const bool from_end = directory_offset < 0;
    int64_t cursor = from_end ? file_size + directory_offset : directory_offset;
    if (cursor < 0 || cursor >= trailer_start) return false;

    while (true) {
        uint8_t length = 0;
        if (cursor + 1 > trailer_start || !read_at(archive, cursor, &length, 1)) return false;
        ++cursor;
        if (length == 0) return true;
        uint8_t record[255 + 8];
        if (cursor + length + 8 > trailer_start || !read_at(archive, cursor, record, length + 8u)) {
            return false;
        }
        cursor += length + 8;

        ArchiveEntry entry;
        entry.name.assign(reinterpret_cast<const char*>(record), length);
        entry.offset = little_endian_32(record + length);
        entry.stored_size = static_cast<uint32_t>(little_endian_32(record + length + 4));
        entry.data_start = from_end ? file_size + entry.offset : entry.offset;
        const bool inside = entry.data_start >= 0 && entry.stored_size >= 4 &&
                            entry.data_start + entry.stored_size <= trailer_start;
        if (inside && safe_entry_name(entry.name)) entries->push_back(std::move(entry));
    }
}

bool find_archive_entry(FileStream& archive, const char* name, ArchiveEntry* entry) {
    std::vector<ArchiveEntry> entries;
    if (!read_archive_directory(archive, &entries)) return false;
    for (ArchiveEntry& candidate : entries) {
        if (same_name(candidate.name.c_str(), name)) {
            *entry = std::move(candidate);
            return true;
        }
    }
    return false;
}

bool unpack_archive_entry(FileStream& archive, const ArchiveEntry& entry, UnpackedBlock* block) {
    if (!lzo_ready()) return false;
    uint8_t size_field[4];
    if (!read_at(archive, entry.data_start, size_field, 4)) return false;
    const auto unpacked_size = static_cast<uint32_t>(little_endian_32(size_field));
    const uint32_t packed_size = entry.stored_size - 4;
    // A claim the compressed bytes could never produce is damage: it is refused before anything
    // is allocated for it.
    if (unpacked_size > kMaxUnpackedSize || unpacked_size > max_unpacked_size(packed_size)) {
        return false;
    }

    std::unique_ptr<uint8_t[]> packed(new (std::nothrow) uint8_t[packed_size + 1]);
    std::unique_ptr<uint8_t[]> unpacked(new (std::nothrow) uint8_t[unpacked_size + 1]);
    if (!packed || !unpacked) return false;
    if (!read_at(archive, entry.data_start + 4, packed.get(), packed_size)) return false;

    lzo_uint out_length = unpacked_size;
    const int result =
        lzo1x_decompress_safe(packed.get(), packed_size, unpacked.get(), &out_length, nullptr);
    if (result != LZO_E_OK || out_length != unpacked_size) return false;
    block->bytes = std::move(unpacked);
    block->size = unpacked_size;
    return true;
}

}  // namespace vexel
