#include "colour_reduction.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace vxmconv {

namespace {

constexpr size_t kPaletteSize = 256;

// Plain 0xBBGGRR colours are merged; markers and the other special values stay as they are.
bool is_rgb(int32_t colour) {
    return colour >= 0 && colour <= 0xFFFFFF;
}

uint32_t group_of(int32_t colour, int bits) {
    const uint32_t c = static_cast<uint32_t>(colour);
    const int drop = 8 - bits;
    return (((c >> 16) & 0xFF) >> drop) << 16 | (((c >> 8) & 0xFF) >> drop) << 8 |
           ((c & 0xFF) >> drop);
}

// The mean colour of every group, weighted by how many records use each colour.
std::unordered_map<int32_t, int32_t> merged_colours(
    const std::unordered_map<int32_t, uint64_t>& uses, int bits) {
    std::unordered_map<uint32_t, std::array<uint64_t, 4>> sums;
    for (const auto& [colour, count] : uses) {
        std::array<uint64_t, 4>& sum = sums[group_of(colour, bits)];
        const uint32_t c = static_cast<uint32_t>(colour);
        sum[0] += (c & 0xFF) * count;
        sum[1] += ((c >> 8) & 0xFF) * count;
        sum[2] += ((c >> 16) & 0xFF) * count;
        sum[3] += count;
    }
    std::unordered_map<int32_t, int32_t> replacement;
    for (const auto& [colour, count] : uses) {
        const std::array<uint64_t, 4>& sum = sums[group_of(colour, bits)];
        const auto mean = [&sum](int channel) {
            return static_cast<int32_t>((sum[channel] + sum[3] / 2) / sum[3]);
        };
        replacement[colour] = mean(0) | mean(1) << 8 | mean(2) << 16;
    }
    return replacement;
}

size_t group_count(const std::unordered_map<int32_t, uint64_t>& uses, int bits) {
    std::unordered_set<uint32_t> groups;
    for (const auto& entry : uses)
        groups.insert(group_of(entry.first, bits));
    return groups.size();
}

}  // namespace

size_t fit_colours_to_palette(vexel::MeshObjectX& mesh) {
    std::unordered_map<int32_t, uint64_t> uses;
    std::unordered_set<int32_t> others;
    for (const vexel::MeshFrame& frame : mesh.frames) {
        for (const vexel::MeshVertex& record : frame.build_stream) {
            if (is_rgb(record.colour)) {
                ++uses[record.colour];
            } else {
                others.insert(record.colour);
            }
        }
    }
    if (uses.size() + others.size() <= kPaletteSize) return 0;
    const size_t room = kPaletteSize > others.size() ? kPaletteSize - others.size() : 1;
    int bits = 7;
    while (bits > 1 && group_count(uses, bits) > room)
        --bits;
    const std::unordered_map<int32_t, int32_t> replacement = merged_colours(uses, bits);
    for (vexel::MeshFrame& frame : mesh.frames) {
        for (vexel::MeshVertex& record : frame.build_stream) {
            if (is_rgb(record.colour)) record.set_colour(replacement.at(record.colour));
        }
    }
    return uses.size();
}

}  // namespace vxmconv
