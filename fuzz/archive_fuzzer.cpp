// The archive format over a "mem://" block: the directory, every entry's unpacking, and the
// resolver that serves loaders (unpacked to memory) and video playback (unpacked to a file).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <vexel/archive.h>
#include <vexel/files.h>

#include "io/archive_format.h"
#include "io/archive_resolver.h"
#include "io/file_stream.h"
#include "io/virtual_files.h"
#include "support/fuzz_harness.h"

namespace {

using vexel::fuzz::check;

// Entries looked at per input: enough for every seed, few enough to keep runs fast.
constexpr size_t kEntriesTried = 16;

void check_listed(const vexel::ArchiveEntry& entry, int64_t archive_size) {
    check(entry.data_start >= 0 && entry.data_start <= archive_size, "entry data outside the file");
    check(entry.name != ".." && entry.name.find_first_of("/\\") == std::string::npos,
          "an entry name that leaves its folder");
}

// The size of what the resolver unpacked must be what the format itself unpacks for that name.
// (An entry named like a "mem://" block is looked up as that block, never in the archive.)
void check_resolved(vexel::FileStream& archive, const vexel::ArchiveEntry& listed) {
    if (vexel::is_memory_name(listed.name.c_str())) return;
    vexel::ArchiveEntry entry;
    vexel::UnpackedBlock block;
    const bool unpacks = vexel::find_archive_entry(archive, listed.name.c_str(), &entry) &&
                         vexel::unpack_archive_entry(archive, entry, &block);
    vexel::DynString resolved;
    const bool found = vexel::resolve_name(vexel::DynString(listed.name.c_str()), resolved, true);
    check(found == unpacks, "the resolver and the format disagree on an entry");
    if (found)
        check(vexel::file_size(resolved) == block.size, "an unpacked entry of the wrong size");
    if (vexel::resolve_video_name(listed.name.c_str(), resolved))
        check(vexel::file_size(resolved) == block.size,
              "an entry unpacked to a file of the wrong size");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vexel::fuzz::enter_private_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vexel::fuzz::InputFile input(data, size);
    vexel::FileStream archive;
    check(archive.open_read(input.name()), "a registered block does not open");
    std::vector<vexel::ArchiveEntry> entries;
    if (!vexel::read_archive_directory(archive, &entries)) return 0;
    const size_t tried = std::min(entries.size(), kEntriesTried);
    for (size_t i = 0; i < tried; ++i) {
        check_listed(entries[i], archive.size());
        vexel::UnpackedBlock block;
        if (vexel::unpack_archive_entry(archive, entries[i], &block)) {
            check(block.size <= vexel::kMaxUnpackedSize, "an entry unpacked beyond the limit");
            check(block.size == 0 || block.bytes != nullptr, "unpacked bytes without memory");
        }
    }
    vexel::set_archive(vexel::DynString(input.name()), vexel::DynString(input.name()));
    for (size_t i = 0; i < tried; ++i)
        check_resolved(archive, entries[i]);
    vexel::set_archive(vexel::DynString(), vexel::DynString());
    return 0;
}
