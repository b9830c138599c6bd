#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include "mesh/mesh_file.h"
#include "mesh/normal_table.h"

namespace vexel {

namespace {

float normal_error(const float n[3], const float* entry) {
    return std::fabs(n[0] * (n[0] - entry[0]) + n[1] * (n[1] - entry[1]) +
                     n[2] * (n[2] - entry[2]));
}

// The smallest error wins, the later entry on equal errors; an exact zero ends the search.
// Scanning any subset that holds every entry of the smallest error, in table order, gives the
// same entry as scanning the whole table.
uint8_t best_of(const float n[3], std::span<const uint8_t> entries) {
    uint8_t best = 0;
    float best_error = INFINITY;
    for (const uint8_t t : entries) {
        const float error = normal_error(n, kNormalTable[t]);
        if (error <= best_error) {
            best_error = error;
            best = t;
            if (error == 0) break;
        }
    }
    return best;
}

constexpr std::array<uint8_t, kNormalTableSize> kEveryEntry = [] {
    std::array<uint8_t, kNormalTableSize> all{};
    for (uint32_t t = 0; t < kNormalTableSize; ++t)
        all[t] = static_cast<uint8_t>(t);
    return all;
}();

// Normalised vectors come out of the float division within a few units in the last place of
// length 1; only those take the grid, anything else (too short to normalise, overflowed, NaN)
// the whole table.
constexpr float kUnitLow = 1 - 1e-5f;
constexpr float kUnitHigh = 1 + 1e-5f;

// Every cell of a grid over the cube [-1, 1]³ lists the entries that can win for a unit vector
// inside it. An entry farther from the cell's centre than the nearest entry is, by more than the
// cell's diameter, is farther from every point of the cell than that entry, so it never wins
// there. The margin covers rounding: in the float errors that decide between near-equal entries,
// in the choice of cell for a vector on a cell boundary, and in the table entries, whose lengths
// differ from 1 in the sixth decimal.
class CandidateGrid {
public:
    CandidateGrid() {
        const double side = 2.0 / kCells;
        const double reach = std::sqrt(3.0) * side / 2 + 1e-3;  // centre to corner, and rounding
        const double slack = 2 * reach + 0.01;
        for (int i = 0; i < kCells; ++i) {
            for (int j = 0; j < kCells; ++j) {
                for (int k = 0; k < kCells; ++k) {
                    first_[cell(i, j, k)] = static_cast<uint32_t>(entries_.size());
                    const double centre[3] = {-1 + (i + 0.5) * side, -1 + (j + 0.5) * side,
                                              -1 + (k + 0.5) * side};
                    add_candidates(centre, reach, slack);
                }
            }
        }
        first_[kCells * kCells * kCells] = static_cast<uint32_t>(entries_.size());
    }

    // The candidates, in table order, of the cell that holds the unit vector n.
    std::span<const uint8_t> candidates(const float n[3]) const {
        const auto step = [](float c) {
            return std::min(static_cast<int>((c + 1) * (kCells / 2)), kCells - 1);
        };
        const int at = cell(step(n[0]), step(n[1]), step(n[2]));
        return {entries_.data() + first_[at], static_cast<size_t>(first_[at + 1] - first_[at])};
    }

private:
    static constexpr int kCells = 24;  // per axis: two or three candidates per cell on average

    static int cell(int i, int j, int k) { return (i * kCells + j) * kCells + k; }

    void add_candidates(const double centre[3], double reach, double slack) {
        const double from_origin =
            std::sqrt(centre[0] * centre[0] + centre[1] * centre[1] + centre[2] * centre[2]);
        if (from_origin - reach > 1.001 || from_origin + reach < 0.999) return;  // no unit vector
        double squared[kNormalTableSize];
        double nearest = INFINITY;
        for (uint32_t t = 0; t < kNormalTableSize; ++t) {
            squared[t] = 0;
            for (int c = 0; c < 3; ++c) {
                const double d = centre[c] - kNormalTable[t][c];
                squared[t] += d * d;
            }
            nearest = std::min(nearest, squared[t]);
        }
        const double within = std::sqrt(nearest) + slack;
        for (uint32_t t = 0; t < kNormalTableSize; ++t) {
            if (squared[t] <= within * within) entries_.push_back(static_cast<uint8_t>(t));
        }
    }

    std::array<uint32_t, kCells * kCells * kCells + 1> first_{};
    std::vector<uint8_t> entries_;
};

}  // namespace

uint8_t nearest_normal_index(const Vec3f& normal) {
    float n[3] = {normal.x, normal.y, normal.z};
    const float squared = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    if (squared > 1e-7f) {
        const float length = std::sqrt(squared);
        for (float& c : n)
            c /= length;
        const float unit = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
        if (unit >= kUnitLow && unit <= kUnitHigh) {
            static const CandidateGrid grid;
            const std::span<const uint8_t> candidates = grid.candidates(n);
            return candidates.size() == 1 ? candidates[0] : best_of(n, candidates);
        }
    }
    return best_of(n, kEveryEntry);
}

}  // namespace vexel
