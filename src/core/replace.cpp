#include <cstdint>
#include <vector>

#include <vexel/error.h>
#include <vexel/text.h>

#include "core/byte_searcher.h"
#include "core/text_limits.h"

namespace vexel {

// Each search resumes right after the previous target and inserted text is never searched, so
// copying the pieces between targets gives the same text as splicing every replacement into a
// working copy, with one allocation instead of one per replacement.
DynString replace_all(const DynString& s, const DynString& target, const DynString& replacement) {
    const ByteSearcher searcher(target.c_str(), target.length());
    std::vector<uint32_t> hits;
    for (uint32_t from = 0;;) {
        const uint32_t hit = searcher.find_in(s.c_str(), s.length(), from);
        if (hit == ByteSearcher::kNotFound) break;
        hits.push_back(hit);
        from = hit + target.length();
    }
    if (hits.empty()) return s;

    const int64_t growth = int64_t{replacement.length()} - target.length();
    const int64_t result_length = s.length() + static_cast<int64_t>(hits.size()) * growth;
    if (result_length > static_cast<int64_t>(kMaxTextLength)) {
        set_error(7);
        return DynString();
    }
    DynString result;
    // Appends below stay within this block; the text may hold zero bytes, so it is appended
    // by length rather than written and scanned.
    result.reserve(static_cast<uint32_t>(result_length), false);
    uint32_t copied = 0;
    for (const uint32_t hit : hits) {
        result.append(s.c_str() + copied, hit - copied);
        result.append(replacement);
        copied = hit + target.length();
    }
    result.append(s.c_str() + copied, s.length() - copied);
    return result;
}

}  // namespace vexel
