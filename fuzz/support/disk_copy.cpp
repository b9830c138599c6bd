#include "support/disk_copy.h"

#include <cstdio>

#include "support/fuzz_harness.h"

namespace vexel::fuzz {

std::string write_disk_copy(const char* file, const uint8_t* data, size_t size) {
    const std::string path = private_folder() + file;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool written = out && (size == 0 || std::fwrite(data, 1, size, out) == size);
    if (!out || std::fclose(out) != 0 || !written) fail("the disk copy was not written");
    return path;
}

}  // namespace vexel::fuzz
