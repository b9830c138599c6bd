// Test helper: the same bytes behind a disk name or a "mem://" name, so that stream behaviour
// can be checked for both kinds of stream.
#pragma once

#include <memory>
#include <string>

#include "io/virtual_files.h"
#include "support/temp_dir.h"

namespace vexel::testing {

enum class StreamKind { kDisk, kMemory };

inline const char* stream_kind_name(StreamKind kind) {
    return kind == StreamKind::kDisk ? "Disk" : "Memory";
}

class StreamSource {
public:
    StreamSource(StreamKind kind, std::string bytes, const ScopedTempDir& folder,
                 const std::string& file = "data.bin")
        : bytes_(std::move(bytes)) {
        if (kind == StreamKind::kDisk) {
            name_ = folder.file(file);
            write_file(name_, bytes_);
        } else {
            memory_ =
                std::make_unique<MemoryFile>(bytes_.data(), static_cast<uint32_t>(bytes_.size()));
            name_ = memory_->name();
        }
    }

    const std::string& name() const { return name_; }

private:
    std::string bytes_;
    std::unique_ptr<MemoryFile> memory_;
    std::string name_;
};

}  // namespace vexel::testing
