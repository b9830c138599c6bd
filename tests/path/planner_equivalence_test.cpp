#include <gtest/gtest.h>

#include <random>

#include "path/a_star_planner.h"
#include "support/literal_planner.h"
#include "support/path_maps.h"
#include "support/path_run.h"

namespace vexel {
namespace {

using testing::CostMap;

struct Trial {
    CostMap map;
    PlannerParams params;
};

// Sizes from a single cell wide to a few thousand cells, walls from none to most, costs from
// all-equal (ties everywhere) to continuous, weights inside and outside [0, 1].
Trial random_trial(std::mt19937& rng) {
    auto uniform = [&rng](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(rng);
    };
    auto chance = [&rng](double p) {
        return std::uniform_real_distribution<double>(0, 1)(rng) < p;
    };

    const int32_t size_class = uniform(0, 9);
    const int32_t max_side = size_class < 6 ? 12 : (size_class < 9 ? 32 : 72);
    const int32_t width = uniform(1, max_side);
    const int32_t height = uniform(1, max_side);
    constexpr double kWallFractions[] = {0.0, 0.1, 0.2, 0.3, 0.45, 0.6};
    const double walls = kWallFractions[uniform(0, 5)];
    constexpr double kMaxCosts[] = {1.0, 2.0, 3.0, 9.0, 100.0};
    const double max_cost = kMaxCosts[uniform(0, 4)];
    Trial trial{testing::random_cost_map(width, height, walls, max_cost, chance(0.6), rng), {}};

    constexpr float kWeights[] = {-2.0f, -0.01f, 0.0f,  0.1f, 0.25f, 0.5f,
                                  0.75f, 0.9f,   0.99f, 1.0f, 1.01f, 4.0f};
    const float weight = chance(0.3) ? std::uniform_real_distribution<float>(-0.5f, 1.5f)(rng)
                                     : kWeights[uniform(0, 11)];
    testing::Cell start{uniform(0, width - 1), uniform(0, height - 1)};
    testing::Cell goal{uniform(0, width - 1), uniform(0, height - 1)};
    if (chance(0.02)) start.first = uniform(-2, width + 1);
    if (chance(0.02)) goal.second = uniform(-2, height + 1);
    trial.params = testing::path_params(trial.map, weight, start, goal);
    if (chance(0.15)) {
        trial.params.allow_diagonals = true;
        trial.params.diagonal_cost = chance(0.5);
    }
    if (chance(0.05)) trial.params.node_pool_size = uniform(1, width * height);
    if (chance(0.05)) trial.params.open_capacity = uniform(1, width + height);
    return trial;
}

// The engine's planner must expand the same nodes in the same order as the plain algorithm, so
// both find the very same path (or none) and expand the same number of nodes.
TEST(PlannerEquivalence, MatchesTheLiteralAlgorithmOnRandomMaps) {
    std::mt19937 rng(20240611);
    constexpr int kTrials = 12000;
    int with_path = 0;
    int without_path = 0;
    int gave_up = 0;
    for (int i = 0; i < kTrials; ++i) {
        const Trial trial = random_trial(rng);
        AStarPlanner engine;
        testing::LiteralPlanner literal;
        const auto fast = testing::run_planner(engine, trial.params);
        const auto plain = testing::run_planner(literal, trial.params);
        ASSERT_EQ(fast.set_up, plain.set_up) << "trial " << i;
        ASSERT_EQ(fast.completed, plain.completed) << "trial " << i;
        ASSERT_EQ(fast.expanded, plain.expanded) << "trial " << i;
        ASSERT_EQ(fast.path, plain.path) << "trial " << i;
        if (!fast.set_up) continue;
        if (!fast.completed) {
            ++gave_up;
        } else if (fast.path.empty()) {
            ++without_path;
        } else {
            ++with_path;
        }
    }
    // The mix must exercise every outcome, not only the easy one.
    EXPECT_GT(with_path, kTrials / 3);
    EXPECT_GT(without_path, kTrials / 20);
    EXPECT_GT(gave_up, kTrials / 200);
}

}  // namespace
}  // namespace vexel
