#include "io/archive_resolver.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include <vexel/archive.h>
#include <vexel/error.h>

#include "io/archive_format.h"
#include "io/file_stream.h"
#include "io/system_path.h"
#include "io/virtual_files.h"

namespace vexel {

namespace {

std::unique_ptr<ArchiveResolver> g_resolvers[2];

const char* last_component(const char* name) {
    const char* start = name;
    for (const char* c = name; *c; ++c) {
        if (*c == '/' || *c == '\\') start = c + 1;
    }
    return start;
}

bool write_whole_file(const std::string& path, const uint8_t* bytes, uint32_t size) {
    // Only a file this call creates is written: never one found under the name, nor a link.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    uint32_t written = 0;
    while (written < size) {
        const ssize_t count = ::write(fd, bytes + written, size - written);
        if (count <= 0) break;
        written += static_cast<uint32_t>(count);
    }
    const bool complete = ::close(fd) == 0 && written == size;
    if (!complete) ::unlink(path.c_str());
    return complete;
}

}  // namespace

ArchiveResolver::~ArchiveResolver() {
    release();
    if (!private_folder_.empty()) ::rmdir(private_folder_.c_str());
}

bool ArchiveResolver::make_private_folder() {
    if (!private_folder_.empty()) return true;
    // Made with mkdtemp: a fresh name only this user can enter, so that nobody else sharing the
    // temporary folder can foresee, plant or redirect the files unpacked into it.
    std::string pattern = std::string(temp_folder()) + "vexel-XXXXXX";
    if (!::mkdtemp(pattern.data())) return false;
    private_folder_ = pattern + "/";
    return true;
}

void ArchiveResolver::set_archive(const char* name) {
    release();
    archive_ = name ? name : "";
}

void ArchiveResolver::release() {
    if (block_handle_ != 0) unregister_memory_block(block_handle_);
    block_handle_ = 0;
    if (!temp_file_.empty()) remove_name(temp_file_.c_str());
    temp_file_.clear();
}

bool ArchiveResolver::resolve(const char* name, DynString& resolved, bool to_memory) {
    // The name may live in the very text that receives the result.
    const std::string requested = name ? name : "";
    name = requested.c_str();
    release();
    resolved = name;
    if (!*name) return false;
    if (is_memory_name(name)) {
        MemoryBlock block;
        return find_memory_block(name, &block);
    }
    if (is_regular_entry(name)) return true;
    if (archive_.empty()) return false;
    return unpack(last_component(name), resolved, to_memory);
}

bool ArchiveResolver::unpack(const char* component, DynString& resolved, bool to_memory) {
    FileStream archive;
    if (!archive.open_read(archive_.c_str())) return false;
    ArchiveEntry entry;
    if (!find_archive_entry(archive, component, &entry)) return false;
    auto block = std::make_shared<UnpackedBlock>();
    if (!unpack_archive_entry(archive, entry, block.get())) return false;

    if (to_memory) {
        const uint8_t* bytes = block->bytes.get();
        const uint32_t size = block->size;
        block_handle_ = register_memory_block(bytes, size, std::move(block));
        resolved = memory_file_name(size, block_handle_).c_str();
        return true;
    }
    if (!make_private_folder()) return false;
    std::string path = private_folder_;
    path += "vov";
    path += static_cast<char>('A' + (static_cast<uint32_t>(entry.offset) & 0xff) % 26);
    path += static_cast<char>('A' + (entry.stored_size & 0xff) % 26);
    path += entry.name;
    if (!write_whole_file(path, block->bytes.get(), block->size)) return false;
    temp_file_ = path;
    resolved = path.c_str();
    return true;
}

ArchiveResolver& archive_resolver(ResolverUse use) {
    std::unique_ptr<ArchiveResolver>& state = g_resolvers[static_cast<int>(use)];
    if (!state) state = std::make_unique<ArchiveResolver>();
    return *state;
}

void delete_archive_resolvers() {
    for (std::unique_ptr<ArchiveResolver>& state : g_resolvers)
        state.reset();
}

bool resolve_video_name(const char* name, DynString& resolved) {
    return archive_resolver(ResolverUse::kVideo).resolve(name, resolved, false);
}

void set_archive(const DynString& name, const DynString& second_name) {
    archive_resolver(ResolverUse::kLoading).set_archive(name.c_str());
    archive_resolver(ResolverUse::kVideo).set_archive(second_name.c_str());
}

int32_t resolve_name(const DynString& name, DynString& resolved, bool to_memory) {
    return archive_resolver(ResolverUse::kLoading).resolve(name.c_str(), resolved, to_memory) ? 1
                                                                                              : 0;
}

}  // namespace vexel
