#include "core/byte_searcher.h"

#include <cstring>

namespace vexel {

ByteSearcher::ByteSearcher(const char* needle, uint32_t length)
    : needle_(reinterpret_cast<const unsigned char*>(needle)), length_(needle ? length : 0) {
    if (length_ < kSkipTableLength) return;
    for (uint32_t& skip : skip_)
        skip = length_;
    // Later positions overwrite earlier ones: a byte shifts the window by its last place before
    // the final one.
    for (uint32_t i = 0; i + 1 < length_; ++i)
        skip_[needle_[i]] = length_ - 1 - i;
}

uint32_t ByteSearcher::find_in(const char* haystack, uint32_t haystack_length,
                               uint32_t from) const {
    if (length_ == 0 || !haystack || from >= haystack_length) return kNotFound;
    const auto* text = reinterpret_cast<const unsigned char*>(haystack) + from;
    const uint32_t available = haystack_length - from;
    if (available < length_) return kNotFound;
    if (available == length_) {
        return std::memcmp(text, needle_, length_) == 0 ? from : kNotFound;
    }
    const uint32_t found = length_ < kSkipTableLength ? find_by_first_byte(text, available)
                                                      : find_by_skips(text, available);
    return found == kNotFound ? kNotFound : from + found;
}

uint32_t ByteSearcher::find_by_first_byte(const unsigned char* text, uint32_t available) const {
    const unsigned char* const last_start = text + (available - length_);
    for (const unsigned char* at = text; at <= last_start; ++at) {
        at = static_cast<const unsigned char*>(
            std::memchr(at, needle_[0], static_cast<size_t>(last_start - at) + 1));
        if (!at) return kNotFound;
        if (std::memcmp(at + 1, needle_ + 1, length_ - 1) == 0) {
            return static_cast<uint32_t>(at - text);
        }
    }
    return kNotFound;
}

uint32_t ByteSearcher::find_by_skips(const unsigned char* text, uint32_t available) const {
    const uint32_t last = length_ - 1;
    const unsigned char last_byte = needle_[last];
    for (uint32_t window = 0; window <= available - length_;) {
        const unsigned char tail = text[window + last];
        if (tail == last_byte) {
            uint32_t i = last;
            while (i > 0 && text[window + i - 1] == needle_[i - 1])
                --i;
            if (i == 0) return window;
        }
        window += skip_[tail];
    }
    return kNotFound;
}

}  // namespace vexel
