#include "path/planner.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace vexel {

namespace {

bool inside(int32_t value, int32_t size) {
    return value >= 0 && value < size;
}

// A positive map value as a float cost. Values beyond the float range are pinned to its ends so
// that they stay finite and positive: an overflow to infinity would poison the normalisation
// with NaN, and an underflow to 0 would turn a passable cell into an unnormalisable one.
float positive_cost(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    constexpr double kSmallest = std::numeric_limits<float>::denorm_min();
    return static_cast<float>(std::clamp(value, kSmallest, kLargest));
}

// first when the condition holds, else second, chosen by masking rather than by a branch.
float select(bool condition, float first, float second) {
    const uint32_t mask = 0u - static_cast<uint32_t>(condition);
    return std::bit_cast<float>((std::bit_cast<uint32_t>(first) & mask) |
                                (std::bit_cast<uint32_t>(second) & ~mask));
}

}  // namespace

float clamp_weight(double weight) {
    if (std::isnan(weight)) return 0.0f;
    return static_cast<float>(std::max(0.0, std::min(weight, 1.0)));
}

bool Planner::setup(const PlannerParams& params) {
    reset();
    grid_.reset();
    if (!inside(params.start_x, params.width) || !inside(params.start_y, params.height) ||
        !inside(params.goal_x, params.width) || !inside(params.goal_y, params.height)) {
        return false;
    }
    if (params.start_x == params.goal_x && params.start_y == params.goal_y) return false;
    const int64_t cells = static_cast<int64_t>(params.width) * params.height;
    // Node and queue counts are 32-bit; a map that large could not be held by the caller anyway.
    if (!params.map || cells > std::numeric_limits<int32_t>::max()) return false;

    auto grid = std::make_unique_for_overwrite<float[]>(static_cast<size_t>(cells));
    // Both loops compute every candidate and select without branching: wall cells are scattered
    // at random in many maps, and a branch per cell would be mispredicted at that rate.
    float max_cost = 0.0f;
    for (int64_t i = 0; i < cells; ++i) {
        const double value = params.map[i];
        const float cost = positive_cost(value);
        // NaN compares false here and so becomes a wall along with 0 and the negatives.
        grid[i] = select(value > 0.0, cost, kWallCost);
        max_cost = std::max(max_cost, grid[i]);
    }
    if (max_cost <= 0.0f) return false;
    for (int64_t i = 0; i < cells; ++i) {
        const float cost = grid[i];
        const float normalised = cost / max_cost + 1.0f;
        grid[i] = select(cost == kWallCost, kWallCost, normalised);
    }

    const auto cell_count = static_cast<int32_t>(cells);
    factory_.resize(cell_count, params.node_pool_size > 0 ? params.node_pool_size : cell_count);
    open_.resize(params.open_capacity > 0 ? params.open_capacity : cell_count, factory_.block());
    grid_ = std::move(grid);

    params_ = params;
    params_.weight = clamp_weight(params.weight);
    search_count_ = 0;
    expanded_count_ = 0;
    result_ = nullptr;
    idle_ = true;
    return true;
}

void Planner::prepare_start() {
    if (!grid_) return;
    if (factory_.used() > 0) reset();
    idle_ = false;
    expanded_count_ = 0;
    result_ = nullptr;
    Node* start = factory_.take(cell_index(params_.start_x, params_.start_y), 0.0f);
    if (!start) return;
    start->parent = nullptr;
    start->f = 0.0f;
    if (!open_.push(start)) factory_.give_back(1);
}

void Planner::reset() {
    const int64_t held = open_.size() + closed_count_;
    open_.clear();
    factory_.give_back(held);
    closed_count_ = 0;
    result_ = nullptr;
    idle_ = true;
}

}  // namespace vexel
