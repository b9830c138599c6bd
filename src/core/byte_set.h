// Internal to core: which bytes a set text holds, for trimming and set searches.
#pragma once

#include <vexel/dyn_string.h>

namespace vexel {

// Every byte of the set counts, a zero byte included.
class ByteSet {
public:
    explicit ByteSet(const DynString& set) {
        for (uint32_t i = 0; i < set.length(); ++i)
            member_[static_cast<unsigned char>(set[i])] = true;
    }
    bool contains(char c) const { return member_[static_cast<unsigned char>(c)]; }

private:
    bool member_[256] = {};
};

}  // namespace vexel
