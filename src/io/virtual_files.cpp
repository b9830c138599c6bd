#include "io/virtual_files.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace vexel {

namespace {

constexpr char kPrefix[] = "mem://";
constexpr size_t kPrefixLength = sizeof kPrefix - 1;
constexpr size_t kSizeField = 6;
constexpr size_t kHandleField = 15;

// An empty block still needs an address that is not "no memory".
const uint8_t kEmptyBlock[1] = {};

struct BlockTable {
    std::unordered_map<uint32_t, MemoryBlock> blocks;
    uint32_t next_handle = 1;
};

// Never destroyed: streams and resolver states may still unregister while statics are torn down.
BlockTable& table() {
    static BlockTable* blocks = new BlockTable;
    return *blocks;
}

// Base-16 after leading white space, as the name's fields are read. False when no digit is there
// or the value does not fit 32 bits.
bool parse_hex_field(const char* text, uint32_t* value) {
    while (*text && std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    uint64_t result = 0;
    int digits = 0;
    for (; std::isxdigit(static_cast<unsigned char>(*text)); ++text, ++digits) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(*text)));
        result = result * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
        if (result > 0xffffffffu) return false;
    }
    *value = static_cast<uint32_t>(result);
    return digits > 0;
}

}  // namespace

bool is_memory_name(const char* name) {
    return name && std::strncmp(name, kPrefix, kPrefixLength) == 0;
}

uint32_t register_memory_block(const void* data, uint32_t size, std::shared_ptr<const void> owner) {
    BlockTable& blocks = table();
    uint32_t handle = blocks.next_handle;
    while (handle == 0 || blocks.blocks.count(handle))
        ++handle;
    blocks.next_handle = handle + 1;

    MemoryBlock block;
    block.data = data && size > 0 ? static_cast<const uint8_t*>(data) : kEmptyBlock;
    block.size = size;
    block.handle = handle;
    block.owner = std::move(owner);
    blocks.blocks.emplace(handle, std::move(block));
    return handle;
}

void unregister_memory_block(uint32_t handle) {
    table().blocks.erase(handle);
}

bool memory_block_registered(uint32_t handle) {
    return table().blocks.count(handle) != 0;
}

std::string memory_file_name(uint32_t size, uint32_t handle) {
    char name[32];
    std::snprintf(name, sizeof name, "mem://%8x.%8x", size, handle);
    return name;
}

bool find_memory_block(const char* name, MemoryBlock* block) {
    if (!is_memory_name(name) || std::strlen(name) <= kHandleField) return false;
    uint32_t size = 0;
    uint32_t handle = 0;
    if (!parse_hex_field(name + kSizeField, &size)) return false;
    if (!parse_hex_field(name + kHandleField, &handle)) return false;
    const auto found = table().blocks.find(handle);
    if (found == table().blocks.end() || found->second.size != size) return false;
    *block = found->second;
    return true;
}

MemoryFile::MemoryFile(const void* data, uint32_t size)
    : handle_(register_memory_block(data, size)), name_(memory_file_name(size, handle_)) {}

MemoryFile::~MemoryFile() {
    unregister_memory_block(handle_);
}

}  // namespace vexel
