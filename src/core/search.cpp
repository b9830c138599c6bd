#include <cstdint>

#include <vexel/text.h>

#include "core/byte_searcher.h"
#include "core/byte_set.h"

namespace vexel {

namespace {

// Offsets beyond the int32 range cannot be reported; they count as not found.
int32_t as_position(uint32_t offset) {
    return offset > static_cast<uint32_t>(INT32_MAX) ? -1 : static_cast<int32_t>(offset);
}

}  // namespace

int32_t find(const DynString& s, const DynString& needle, int32_t start) {
    const uint32_t from = start < 0 ? 0 : static_cast<uint32_t>(start);
    const ByteSearcher searcher(needle.c_str(), needle.length());
    return as_position(searcher.find_in(s.c_str(), s.length(), from));
}

int32_t find_last(const DynString& s, const DynString& needle, int32_t start) {
    int64_t limit = start;
    if (start < 0) limit = int64_t{s.length()} - needle.length();
    if (limit < 0) return -1;
    const ByteSearcher searcher(needle.c_str(), needle.length());
    int32_t last = -1;
    uint32_t from = 0;
    for (;;) {
        const uint32_t hit = searcher.find_in(s.c_str(), s.length(), from);
        if (hit == ByteSearcher::kNotFound || hit > limit) return last;
        last = as_position(hit);
        from = hit + 1;
    }
}

int32_t find_first_of(const DynString& text, const DynString& set) {
    const ByteSet members(set);
    for (uint32_t i = 0; i < text.length(); ++i) {
        if (members.contains(text[i])) return as_position(i);
    }
    return -1;
}

int32_t find_first_not_of(const DynString& text, const DynString& set) {
    const ByteSet members(set);
    for (uint32_t i = 0; i < text.length(); ++i) {
        if (!members.contains(text[i])) return as_position(i);
    }
    return -1;
}

}  // namespace vexel
