// Internal to core: the Boyer-Moore-Horspool search behind find, find_last and replace_all.
#pragma once

#include <cstdint>

namespace vexel {

// Searches raw bytes with explicit lengths, so zero bytes in either text take part. The skip
// table is built once per needle and reused for every search with it.
class ByteSearcher {
public:
    static constexpr uint32_t kNotFound = UINT32_MAX;

    // The needle must outlive the searcher.
    ByteSearcher(const char* needle, uint32_t length);

    // Offset of the first occurrence that begins at or after from, or kNotFound. An empty needle
    // or an empty haystack finds nothing.
    uint32_t find_in(const char* haystack, uint32_t haystack_length, uint32_t from) const;

private:
    const unsigned char* needle_;
    uint32_t length_;
    uint32_t skip_[256];
};

}  // namespace vexel
