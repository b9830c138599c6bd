#include <cstring>
#include <string>

#include <vexel/dyn_array.h>
#include <vexel/error.h>
#include <vexel/text.h>

#include "app/failure_report.h"

namespace vexel::array_detail {

namespace {

constexpr int32_t kOutOfMemory = 7;
constexpr int32_t kPushOnMultiDimensional = 8;
constexpr int32_t kOutOfBounds = 9;

void append_bracketed(DynString& line, int32_t value) {
    line += "[";
    line += format_number(4, 0, value);
    line += "]";
}

void emit_report(const int32_t sizes[4], const int32_t indices[4]) {
    DynString bounds("bounds: ");
    DynString access("access: ");
    append_bracketed(bounds, sizes[0]);
    append_bracketed(access, indices[0]);
    for (int n = 1; n < 4; ++n) {
        if (sizes[n] <= 0) continue;
        append_bracketed(bounds, sizes[n]);
        append_bracketed(access, indices[n]);
    }
    bounds += "\n";
    access += "\n";
    debug_output(bounds.c_str());
    debug_output(access.c_str());
    write_stderr(bounds.c_str());
    write_stderr(access.c_str());
}

// "array index 10 is outside 0..9", or with more dimensions "array index (2, 10) is outside
// (0..3, 0..9)": over the dimensions the array has and any other the access gave a non-zero
// index for (whose only index is 0).
std::string bounds_cause(const int32_t sizes[4], const int32_t indices[4]) {
    if (sizes[0] <= 0)
        return "array index " + std::to_string(indices[0]) + " used on an empty array";
    int dimensions = 1;
    for (int n = 1; n < 4; ++n) {
        if (sizes[n] > 0 || indices[n] != 0) dimensions = n + 1;
    }
    std::string index;
    std::string range;
    for (int n = 0; n < dimensions; ++n) {
        if (n > 0) {
            index += ", ";
            range += ", ";
        }
        index += std::to_string(indices[n]);
        range += sizes[n] > 0 ? "0.." + std::to_string(sizes[n] - 1) : "0";
    }
    if (dimensions == 1) return "array index " + index + " is outside " + range;
    return "array index (" + index + ") is outside (" + range + ")";
}

class TextOrder {
public:
    explicit TextOrder(TextCompare compare) : compare_(compare) {}
    bool less(const DynString& left, const DynString& right) const {
        if (compare_) return compare_(left, right) < 0;
        return std::strcmp(left.c_str(), right.c_str()) < 0;
    }

private:
    TextCompare compare_;
};

// Moves the median of the first, middle and last texts to last, where it serves as the pivot,
// so that sorted and reversed runs split evenly instead of one element at a time.
void place_median_last(DynString* texts, int32_t first, int32_t last, const TextOrder& order) {
    const int32_t middle = first + (last - first) / 2;
    if (order.less(texts[middle], texts[first])) texts[middle].swap(texts[first]);
    if (order.less(texts[last], texts[first])) texts[last].swap(texts[first]);
    if (order.less(texts[middle], texts[last])) texts[middle].swap(texts[last]);
}

// Two scans move inwards and stop at texts on the wrong side of the pivot (equal ones too, so
// runs of equal texts split in the middle). The scans are bounded by the range itself, so even
// a compare callback that contradicts itself cannot lead them outside it. Returns the pivot's
// final position.
int32_t partition(DynString* texts, int32_t first, int32_t last, const TextOrder& order) {
    const DynString& pivot = texts[last];
    int32_t i = first - 1;
    int32_t j = last;
    for (;;) {
        do {
            ++i;
        } while (i < last && order.less(texts[i], pivot));
        do {
            --j;
        } while (j > first && order.less(pivot, texts[j]));
        if (i >= j) break;
        texts[i].swap(texts[j]);
    }
    if (i != last) texts[i].swap(texts[last]);
    return i;
}

}  // namespace

void report_out_of_bounds(const int32_t sizes[4], int32_t i, int32_t j, int32_t k, int32_t l) {
    const int32_t accesses[3][4] = {{i, j, 0, 0}, {i, j, k, 0}, {i, j, k, l}};
    for (const auto& access : accesses) {
        emit_report(sizes, access);
    }
    set_error(kOutOfBounds);
    end_program_because(bounds_cause(sizes, accesses[2]));
}

void fail_allocation() {
    set_error(kOutOfMemory);
    end_program_because("out of memory for an array");
}

void fail_push_multi_dimensional() {
    set_error(kPushOnMultiDimensional);
    end_program_because("push on an array of more than one dimension");
}

void sort_texts(DynString* texts, int32_t first, int32_t last, TextCompare compare) {
    const TextOrder order(compare);
    // Recursing into the smaller part and looping on the larger keeps the depth logarithmic.
    while (first < last) {
        place_median_last(texts, first, last, order);
        const int32_t split = partition(texts, first, last, order);
        if (split - first < last - split) {
            sort_texts(texts, first, split - 1, compare);
            first = split + 1;
        } else {
            sort_texts(texts, split + 1, last, compare);
            last = split - 1;
        }
    }
}

}  // namespace vexel::array_detail
