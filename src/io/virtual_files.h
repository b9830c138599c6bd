// Internal: virtual files. A block of memory that engine code registers gets a name of the form
// "mem://%8x.%8x" (its size, then a handle into the table below) that every loader can open in
// place of a path. Names carry handles, never addresses, so a name can only reach memory that is
// still registered; handles are not reused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vexel {

struct MemoryBlock {
    const uint8_t* data = nullptr;  // never null for a registered block, even of size 0
    uint32_t size = 0;
    uint32_t handle = 0;
    std::shared_ptr<const void> owner;  // when set, keeps the bytes alive for open streams
};

// True when the name starts with "mem://" (byte for byte).
bool is_memory_name(const char* name);

// Registers a block and returns its handle (never 0). With an owner, streams opened on the name
// keep the bytes alive after the block is unregistered; without one, they stop reading.
uint32_t register_memory_block(const void* data, uint32_t size,
                               std::shared_ptr<const void> owner = nullptr);
// Forgets the handle: its name fails from now on like a missing file.
void unregister_memory_block(uint32_t handle);
bool memory_block_registered(uint32_t handle);

// "mem://" + size + "." + handle, each lower-case hexadecimal space-padded to 8 characters.
std::string memory_file_name(uint32_t size, uint32_t handle);

// The registered block a "mem://" name designates. False for other names, unknown or stale
// handles, and a size that differs from the registered one.
bool find_memory_block(const char* name, MemoryBlock* block);

// Registers a block for its lifetime: for engine code that lends memory to a loader.
class MemoryFile {
public:
    MemoryFile(const void* data, uint32_t size);
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    const std::string& name() const { return name_; }

private:
    uint32_t handle_;
    std::string name_;
};

}  // namespace vexel
