// Writing media archives: named entries compressed with LZO1X-1, a directory and the "voV"
// trailer, either as a file of their own (offsets from the start) or appended to a program
// (offsets back from the end, so the program may be any size).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxpack {

struct Entry {
    std::string name;            // stored name: 1 to 255 bytes, no '/' or '\', not ".."
    std::vector<uint8_t> bytes;  // the content, at most 1 GiB
};

// The whole archive: base (a program to carry it, or empty) followed by the entries. Returns
// false with a message in error when an entry cannot be stored.
bool build_archive(const std::vector<uint8_t>& base, const std::vector<Entry>& entries,
                   std::vector<uint8_t>* out, std::string* error);

}  // namespace vxpack
