// Internal to core: the byte search behind find, find_last and replace_all.
#pragma once

#include <cstdint>

namespace vexel {

// Searches raw bytes with explicit lengths, so zero bytes in either text take part. Long needles
// use Boyer-Moore-Horspool with a skip table built once per needle and reused for every search
// with it; short ones, whose skips could never be long, look for their first byte with memchr.
class ByteSearcher {
public:
    static constexpr uint32_t kNotFound = UINT32_MAX;
    // Needles at least this long get the skip table.
    static constexpr uint32_t kSkipTableLength = 8;

    // The needle must outlive the searcher.
    ByteSearcher(const char* needle, uint32_t length);

    // Offset of the first occurrence that begins at or after from, or kNotFound. An empty needle
    // or an empty haystack finds nothing.
    uint32_t find_in(const char* haystack, uint32_t haystack_length, uint32_t from) const;

private:
    uint32_t find_by_first_byte(const unsigned char* text, uint32_t available) const;
    uint32_t find_by_skips(const unsigned char* text, uint32_t available) const;

    const unsigned char* needle_;
    uint32_t length_;
    uint32_t skip_[256];
};

}  // namespace vexel
