// The input written to a file of the private folder, for harnesses that read the same bytes from
// memory and from disk and demand the same results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vexel::fuzz {

// Writes the bytes to the named file of the private folder (replacing it) and returns its path.
std::string write_disk_copy(const char* file, const uint8_t* data, size_t size);

}  // namespace vexel::fuzz
