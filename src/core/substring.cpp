#include <cstdint>

#include <vexel/text.h>

#include "core/byte_set.h"

namespace vexel {

DynString mid(const DynString& s, int32_t start, int32_t count) {
    DynString result;
    const int64_t length = s.length();
    if (start < 0 || start >= length) return result;
    int64_t taken = count < 0 ? length : count;
    if (start + taken > length) taken = length - start;
    if (taken < 1) return result;
    result.append(s.c_str() + start, static_cast<uint32_t>(taken));
    return result;
}

DynString trim_left(const DynString& s, const DynString& set) {
    const ByteSet members(set);
    uint32_t first = 0;
    while (first < s.length() && members.contains(s[first]))
        ++first;
    DynString result;
    result.append(s.c_str() + first, s.length() - first);
    return result;
}

DynString trim_right(const DynString& s, const DynString& set) {
    const ByteSet members(set);
    uint32_t end = s.length();
    while (end > 0 && members.contains(s[end - 1]))
        --end;
    DynString result;
    result.append(s.c_str(), end);
    return result;
}

}  // namespace vexel
