#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "path/a_star_planner.h"
#include "support/literal_planner.h"
#include "support/path_run.h"

namespace vexel {
namespace {

using testing::Cell;
using testing::CostMap;
using testing::path_params;
using testing::run_planner;

CostMap uniform_map(int32_t width, int32_t height, double cost = 1.0) {
    return CostMap{width, height, std::vector<double>(static_cast<size_t>(width) * height, cost)};
}

// The behaviour find_path relies on, checked on the engine's planner and on the plain one so
// that the plain one is a fair yardstick for the equivalence test.
template <typename PlannerType>
class PlannerBehaviour : public ::testing::Test {
protected:
    testing::PathRun run(const CostMap& map, float weight, Cell start, Cell goal) {
        PlannerType planner;
        return run_planner(planner, path_params(map, weight, start, goal));
    }
};

using PlannerTypes = ::testing::Types<AStarPlanner, testing::LiteralPlanner>;
TYPED_TEST_SUITE(PlannerBehaviour, PlannerTypes);

TYPED_TEST(PlannerBehaviour, TwoCellMapGivesBothCells) {
    const auto found = this->run(uniform_map(2, 1), 0.5f, {0, 0}, {1, 0});
    ASSERT_TRUE(found.set_up);
    EXPECT_TRUE(found.completed);
    EXPECT_EQ(found.path, (std::vector<Cell>{{0, 0}, {1, 0}}));
}

TYPED_TEST(PlannerBehaviour, RefusesMapsWithoutPassableCellsAndBadEnds) {
    EXPECT_FALSE(this->run(uniform_map(4, 4, 0.0), 0.5f, {0, 0}, {3, 3}).set_up);
    EXPECT_FALSE(this->run(uniform_map(4, 4, -2.0), 0.5f, {0, 0}, {3, 3}).set_up);
    const CostMap open = uniform_map(4, 3);
    EXPECT_FALSE(this->run(open, 0.5f, {2, 2}, {2, 2}).set_up);
    EXPECT_FALSE(this->run(open, 0.5f, {-1, 0}, {2, 2}).set_up);
    EXPECT_FALSE(this->run(open, 0.5f, {4, 0}, {2, 2}).set_up);
    EXPECT_FALSE(this->run(open, 0.5f, {0, 3}, {2, 2}).set_up);
    EXPECT_FALSE(this->run(open, 0.5f, {0, 0}, {0, -1}).set_up);
    EXPECT_FALSE(this->run(open, 0.5f, {0, 0}, {4, 2}).set_up);
    EXPECT_TRUE(this->run(open, 0.5f, {0, 0}, {3, 2}).set_up);
}

// With weight 0 all four first steps of a uniform map tie; the one queued first (up, right,
// left, down) is expanded first and so becomes the goal's parent.
TYPED_TEST(PlannerBehaviour, EqualPrioritiesLeaveInArrivalOrder) {
    const CostMap map = uniform_map(3, 3);
    EXPECT_EQ(this->run(map, 0.0f, {0, 0}, {1, 1}).path,
              (std::vector<Cell>{{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(this->run(map, 0.0f, {1, 1}, {0, 0}).path,
              (std::vector<Cell>{{1, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(this->run(map, 0.0f, {1, 1}, {2, 2}).path,
              (std::vector<Cell>{{1, 1}, {2, 1}, {2, 2}}));
    EXPECT_EQ(this->run(map, 0.0f, {1, 1}, {0, 2}).path,
              (std::vector<Cell>{{1, 1}, {0, 1}, {0, 2}}));
}

// The middle row is expensive: cost-ordered search goes round it, distance-ordered goes through.
TYPED_TEST(PlannerBehaviour, WeightIsClampedToTheUnitRange) {
    CostMap map = uniform_map(5, 3);
    for (int32_t x = 0; x < 5; ++x)
        map.at(x, 1) = 9.0;
    const std::vector<Cell> around = {{0, 1}, {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}};
    const std::vector<Cell> through = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}};
    EXPECT_EQ(this->run(map, 0.0f, {0, 1}, {4, 1}).path, around);
    EXPECT_EQ(this->run(map, -3.5f, {0, 1}, {4, 1}).path, around);
    EXPECT_EQ(this->run(map, 1.0f, {0, 1}, {4, 1}).path, through);
    EXPECT_EQ(this->run(map, 7.0f, {0, 1}, {4, 1}).path, through);
}

TYPED_TEST(PlannerBehaviour, WallWithoutGapLeavesNoPath) {
    CostMap map = uniform_map(6, 5);
    for (int32_t y = 0; y < 5; ++y)
        map.at(3, y) = y % 2 ? 0.0 : -1.0;
    const auto found = this->run(map, 0.5f, {0, 2}, {5, 2});
    EXPECT_TRUE(found.completed);
    EXPECT_TRUE(found.path.empty());
    EXPECT_EQ(found.expanded, 15);  // every cell left of the wall, once
}

TYPED_TEST(PlannerBehaviour, WalledGoalIsNeverEntered) {
    CostMap map = uniform_map(4, 4);
    map.at(3, 3) = 0.0;
    const auto found = this->run(map, 0.3f, {0, 0}, {3, 3});
    EXPECT_TRUE(found.completed);
    EXPECT_TRUE(found.path.empty());
    EXPECT_EQ(found.expanded, 15);
}

TYPED_TEST(PlannerBehaviour, WalledStartStillExpands) {
    CostMap map = uniform_map(4, 1);
    map.at(0, 0) = 0.0;
    EXPECT_EQ(this->run(map, 0.5f, {0, 0}, {3, 0}).path,
              (std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    map.at(2, 0) = -4.0;
    EXPECT_TRUE(this->run(map, 0.5f, {0, 0}, {3, 0}).path.empty());
}

TYPED_TEST(PlannerBehaviour, CheaperCellsWinOverShorterRoutes) {
    CostMap map = uniform_map(5, 2);
    for (int32_t x = 1; x < 4; ++x)
        map.at(x, 0) = 10.0;
    // Normalised costs are 2 against 1.1: six cheap steps (6.6) beat three dear ones and a
    // cheap one (7.1).
    EXPECT_EQ(this->run(map, 0.0f, {0, 0}, {4, 0}).path,
              (std::vector<Cell>{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 0}}));
}

TYPED_TEST(PlannerBehaviour, DiagonalStepsOnlyWhenAllowedAndWithoutCornerCheck) {
    CostMap map = uniform_map(3, 3);
    map.at(1, 0) = 0.0;
    map.at(0, 1) = 0.0;
    PlannerParams params = path_params(map, 0.0f, {0, 0}, {1, 1});
    TypeParam straight;
    EXPECT_TRUE(run_planner(straight, params).path.empty());
    params.allow_diagonals = true;
    TypeParam diagonal;
    EXPECT_EQ(run_planner(diagonal, params).path, (std::vector<Cell>{{0, 0}, {1, 1}}));
}

TYPED_TEST(PlannerBehaviour, DiagonalCostFactorPricesDiagonalSteps) {
    // Two diagonals through cheap cells (2 × 1.1) beat a dear straight step and a cheap one
    // (2 + 1.1) until each diagonal costs 1.414 times more (2 × 1.556).
    CostMap map = uniform_map(3, 2);
    map.cells = {1.0, 10.0, 1.0, 10.0, 1.0, 10.0};
    PlannerParams params = path_params(map, 0.0f, {0, 0}, {2, 0});
    params.allow_diagonals = true;
    TypeParam flat;
    EXPECT_EQ(run_planner(flat, params).path, (std::vector<Cell>{{0, 0}, {1, 1}, {2, 0}}));
    params.diagonal_cost = true;
    TypeParam priced;
    EXPECT_EQ(run_planner(priced, params).path, (std::vector<Cell>{{0, 0}, {1, 0}, {2, 0}}));
}

TYPED_TEST(PlannerBehaviour, ExhaustedPoolOrQueueEndsWithoutPath) {
    const CostMap map = uniform_map(8, 8);
    PlannerParams params = path_params(map, 0.0f, {0, 0}, {7, 7});
    params.node_pool_size = 10;
    TypeParam small_pool;
    auto found = run_planner(small_pool, params);
    EXPECT_FALSE(found.completed);
    EXPECT_TRUE(found.path.empty());
    EXPECT_EQ(small_pool.pool_used(), 0);

    params.node_pool_size = 0;
    params.open_capacity = 3;
    TypeParam small_queue;
    found = run_planner(small_queue, params);
    EXPECT_FALSE(found.completed);
    EXPECT_TRUE(found.path.empty());

    // Straight along a one-cell corridor the queue never holds more than one node.
    const CostMap line = uniform_map(8, 1);
    params = path_params(line, 0.0f, {0, 0}, {7, 0});
    params.open_capacity = 1;
    params.node_pool_size = 8;
    TypeParam corridor;
    EXPECT_EQ(run_planner(corridor, params).path.size(), 8u);
}

TEST(AStarPlanner, NormalisesCostsIntoOneToTwo) {
    CostMap map = uniform_map(3, 2);
    map.cells = {4.0, 2.0, 0.0, -7.0, std::numeric_limits<double>::quiet_NaN(), 1.0};
    AStarPlanner planner;
    ASSERT_TRUE(planner.setup(path_params(map, 0.5f, {0, 0}, {1, 0})));
    EXPECT_FLOAT_EQ(planner.cell_cost(0, 0), 2.0f);
    EXPECT_FLOAT_EQ(planner.cell_cost(1, 0), 1.5f);
    EXPECT_EQ(planner.cell_cost(2, 0), kWallCost);
    EXPECT_EQ(planner.cell_cost(0, 1), kWallCost);
    EXPECT_EQ(planner.cell_cost(1, 1), kWallCost);
    EXPECT_FLOAT_EQ(planner.cell_cost(2, 1), 1.25f);
}

// Values outside the float range stay finite, positive costs instead of turning into infinity,
// NaN or zero.
TEST(AStarPlanner, KeepsHugeAndTinyCostsUsable) {
    CostMap map = uniform_map(4, 1);
    map.cells = {1e300, std::numeric_limits<double>::infinity(), 1e-300, 1.0};
    AStarPlanner planner;
    ASSERT_TRUE(planner.setup(path_params(map, 0.0f, {0, 0}, {3, 0})));
    EXPECT_EQ(planner.cell_cost(0, 0), 2.0f);
    EXPECT_EQ(planner.cell_cost(1, 0), 2.0f);
    EXPECT_EQ(planner.cell_cost(2, 0), 1.0f);
    EXPECT_EQ(planner.cell_cost(3, 0), 1.0f);
    planner.prepare_start();
    EXPECT_TRUE(planner.search());
    ASSERT_NE(planner.result(), nullptr);
    EXPECT_FLOAT_EQ(planner.g_of(planner.result()), 4.0f);

    map.cells = {1e-300, 1e-310, 1e-320, 0.0};
    ASSERT_TRUE(planner.setup(path_params(map, 0.0f, {0, 0}, {2, 0})));
    for (int32_t x = 0; x < 3; ++x) {
        EXPECT_TRUE(std::isfinite(planner.cell_cost(x, 0)));
        EXPECT_GE(planner.cell_cost(x, 0), 1.0f);
    }
}

TEST(AStarPlanner, NanWeightActsAsZero) {
    EXPECT_EQ(clamp_weight(std::numeric_limits<double>::quiet_NaN()), 0.0f);
    EXPECT_EQ(clamp_weight(-0.25), 0.0f);
    EXPECT_EQ(clamp_weight(0.25), 0.25f);
    EXPECT_EQ(clamp_weight(1e9), 1.0f);
}

TEST(AStarPlanner, LifecycleCountsSearchesAndResetReturnsEveryNode) {
    const CostMap map = uniform_map(6, 6);
    AStarPlanner planner;
    EXPECT_TRUE(planner.idle());
    ASSERT_TRUE(planner.setup(path_params(map, 0.5f, {0, 0}, {5, 5})));
    planner.prepare_start();
    EXPECT_FALSE(planner.idle());
    EXPECT_EQ(planner.pool_used(), 1);
    EXPECT_TRUE(planner.search());
    EXPECT_TRUE(planner.idle());
    EXPECT_EQ(planner.search_count(), 1u);
    ASSERT_NE(planner.result(), nullptr);
    const uint64_t expanded = planner.expanded_count();
    EXPECT_GT(planner.pool_used(), 0);
    planner.reset();
    EXPECT_EQ(planner.pool_used(), 0);
    EXPECT_EQ(planner.result(), nullptr);

    // A second search over the same grid repeats the first exactly; a second prepare_start
    // without reset starts over instead of queueing a second start node.
    planner.prepare_start();
    planner.prepare_start();
    EXPECT_EQ(planner.pool_used(), 1);
    EXPECT_TRUE(planner.search());
    EXPECT_EQ(planner.search_count(), 2u);
    EXPECT_EQ(planner.expanded_count(), expanded);
    EXPECT_NE(planner.result(), nullptr);
}

TEST(AStarPlanner, FailedSetupLeavesNothingToSearch) {
    AStarPlanner planner;
    PlannerParams params;
    EXPECT_FALSE(planner.setup(params));
    params.width = 2;
    params.height = 1;
    params.goal_x = 1;
    EXPECT_FALSE(planner.setup(params));  // no map
    planner.prepare_start();
    EXPECT_TRUE(planner.search());
    EXPECT_EQ(planner.result(), nullptr);
    EXPECT_EQ(planner.pool_used(), 0);
}

}  // namespace
}  // namespace vexel
