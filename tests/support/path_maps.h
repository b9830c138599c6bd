// Cost maps for the path planner's tests and benchmark: cell (x, y) at x + width·y, a value of
// 0 or below is a wall.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace vexel::testing {

struct CostMap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<double> cells;

    double& at(int32_t x, int32_t y) { return cells[x + static_cast<size_t>(width) * y]; }
};

// Each cell is a wall (0 or a negative value) with probability wall_fraction, else a cost drawn
// uniformly from [1, max_cost]; integral costs make ties in f frequent.
inline CostMap random_cost_map(int32_t width, int32_t height, double wall_fraction, double max_cost,
                               bool integral, std::mt19937& rng) {
    CostMap map{width, height, std::vector<double>(static_cast<size_t>(width) * height)};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_real_distribution<double> cost(1.0, max_cost);
    for (double& cell : map.cells) {
        if (unit(rng) < wall_fraction) {
            cell = unit(rng) < 0.5 ? 0.0 : -cost(rng);
        } else {
            cell =
                integral ? static_cast<double>(static_cast<int64_t>(cost(rng) + 0.5)) : cost(rng);
        }
    }
    return map;
}

// A perfect maze carved by a depth-first walk over the cells with even coordinates: passages
// cost 1, everything else is a wall. Any two passage cells are joined by exactly one route.
inline CostMap maze_map(int32_t width, int32_t height, std::mt19937& rng) {
    CostMap map{width, height, std::vector<double>(static_cast<size_t>(width) * height, 0.0)};
    std::vector<std::pair<int32_t, int32_t>> stack{{0, 0}};
    map.at(0, 0) = 1.0;
    constexpr int32_t kDx[4] = {2, -2, 0, 0};
    constexpr int32_t kDy[4] = {0, 0, 2, -2};
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        int32_t options[4];
        int32_t count = 0;
        for (int32_t k = 0; k < 4; ++k) {
            const int32_t nx = x + kDx[k];
            const int32_t ny = y + kDy[k];
            if (nx >= 0 && nx < width && ny >= 0 && ny < height && map.at(nx, ny) == 0.0) {
                options[count++] = k;
            }
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        const int32_t k = options[std::uniform_int_distribution<int32_t>(0, count - 1)(rng)];
        map.at(x + kDx[k] / 2, y + kDy[k] / 2) = 1.0;
        map.at(x + kDx[k], y + kDy[k]) = 1.0;
        stack.emplace_back(x + kDx[k], y + kDy[k]);
    }
    return map;
}

}  // namespace vexel::testing
