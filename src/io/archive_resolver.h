// Internal: the archive resolver. Two states exist: one serves every loader that opens a file by
// name, the other serves video playback, which needs real files and so always unpacks to
// temporary files, in a private folder of its own. Each keeps what it unpacked last until its
// next call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <vexel/dyn_string.h>

namespace vexel {

class ArchiveResolver {
public:
    ArchiveResolver() = default;
    ~ArchiveResolver();  // deletes the temporary file it still holds and its private folder
    ArchiveResolver(const ArchiveResolver&) = delete;
    ArchiveResolver& operator=(const ArchiveResolver&) = delete;

    // A disk or "mem://" name; empty for none. Releases what the state holds.
    void set_archive(const char* name);
    // See resolve_name in vexel/archive.h.
    bool resolve(const char* name, DynString& resolved, bool to_memory);
    // Frees the unpacked block (its "mem://" name goes stale) and deletes the temporary file.
    void release();

private:
    bool unpack(const char* component, DynString& resolved, bool to_memory);
    // Temporary files go into a folder of the temporary folder made for this state alone.
    bool make_private_folder();

    std::string archive_;
    uint32_t block_handle_ = 0;
    std::string temp_file_;
    std::string private_folder_;  // ends in "/"; empty until the first temporary file
};

enum class ResolverUse { kLoading = 0, kVideo = 1 };

// The state for that use, created on first use.
ArchiveResolver& archive_resolver(ResolverUse use);
// Deletes both states (their temporary files first); the next use starts without an archive.
void delete_archive_resolvers();

// Video playback: the name to open, unpacked to a temporary file when it comes from the archive.
bool resolve_video_name(const char* name, DynString& resolved);

}  // namespace vexel
