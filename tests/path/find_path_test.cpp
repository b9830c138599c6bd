#include <gtest/gtest.h>

#include <vexel/error.h>
#include <vexel/path.h>

#include <cmath>
#include <random>
#include <vector>

#include "support/literal_planner.h"
#include "support/path_maps.h"
#include "support/path_run.h"

namespace vexel {
namespace {

using testing::Cell;

DynArray<double> map_array(const testing::CostMap& map) {
    DynArray<double> array;
    array.dim(map.width, map.height);
    for (int32_t y = 0; y < map.height; ++y) {
        for (int32_t x = 0; x < map.width; ++x)
            array.at(x, y) = map.cells[x + map.width * y];
    }
    return array;
}

DynArray<double> uniform_array(int32_t width, int32_t height, double cost) {
    DynArray<double> array;
    array.dim(width, height);
    for (int32_t i = 0; i < array.count(); ++i)
        array.elements()[i] = cost;
    return array;
}

std::vector<Cell> solution_cells(const DynArray<double>& solution) {
    std::vector<Cell> cells;
    for (int32_t i = 0; i < solution.size1(); ++i) {
        cells.emplace_back(static_cast<int32_t>(solution.at(i, 0)),
                           static_cast<int32_t>(solution.at(i, 1)));
    }
    return cells;
}

void expect_empty_solution(const DynArray<double>& solution) {
    EXPECT_EQ(solution.dims(), 2);
    EXPECT_EQ(solution.size1(), 0);
    EXPECT_EQ(solution.size2(), 2);
    EXPECT_EQ(solution.count(), 0);
}

TEST(FindPath, TwoCellMapGivesStartThenGoal) {
    const DynArray<double> map = uniform_array(2, 1, 1.0);
    DynArray<double> solution;
    EXPECT_EQ(find_path(map, solution, 0.5, 0, 0, 1, 0), 2);
    EXPECT_EQ(solution.size1(), 2);
    EXPECT_EQ(solution.size2(), 2);
    EXPECT_EQ(solution_cells(solution), (std::vector<Cell>{{0, 0}, {1, 0}}));
}

TEST(FindPath, FailuresGiveZeroAndAnEmptySolution) {
    DynArray<double> solution;
    solution.dim(5, 2);
    EXPECT_EQ(find_path(uniform_array(4, 4, 0.0), solution, 0.5, 0, 0, 3, 3), 0);
    expect_empty_solution(solution);

    const DynArray<double> open = uniform_array(4, 4, 2.0);
    solution.dim(5, 2);
    EXPECT_EQ(find_path(open, solution, 0.5, 2, 2, 2, 2), 0);
    expect_empty_solution(solution);
    EXPECT_EQ(find_path(open, solution, 0.5, 4, 0, 0, 0), 0);
    EXPECT_EQ(find_path(open, solution, 0.5, 0, 0, 0, -1), 0);
    expect_empty_solution(solution);

    DynArray<double> walled = uniform_array(5, 3, 1.0);
    for (int32_t y = 0; y < 3; ++y)
        walled.at(2, y) = 0.0;
    EXPECT_EQ(find_path(walled, solution, 0.5, 0, 1, 4, 1), 0);
    expect_empty_solution(solution);
    // Failing to find a path is no error.
    EXPECT_EQ(last_error_code(), 0);
}

TEST(FindPath, MapsWithoutASecondDimensionHaveNoCells) {
    DynArray<double> line;
    line.dim(6);
    for (int32_t i = 0; i < 6; ++i)
        line.at(i) = 1.0;
    DynArray<double> solution;
    EXPECT_EQ(find_path(line, solution, 0.0, 0, 0, 5, 0), 0);
    const DynArray<double> none;
    EXPECT_EQ(find_path(none, solution, 0.0, 0, 0, 1, 0), 0);
    expect_empty_solution(solution);
}

TEST(FindPath, ReadsTheFirstLayerOfADeeperArray) {
    DynArray<double> map;
    map.dim(3, 1, 2);
    map.at(0, 0, 0) = 1.0;
    map.at(1, 0, 0) = 1.0;
    map.at(2, 0, 0) = 1.0;
    DynArray<double> solution;
    EXPECT_EQ(find_path(map, solution, 0.0, 0, 0, 2, 0), 3);
    map.at(1, 0, 0) = 0.0;
    map.at(1, 0, 1) = 1.0;
    EXPECT_EQ(find_path(map, solution, 0.0, 0, 0, 2, 0), 0);
}

TEST(FindPath, SolutionMayBeTheMapItself) {
    DynArray<double> array = uniform_array(3, 3, 1.0);
    EXPECT_EQ(find_path(array, array, 0.0, 0, 0, 2, 2), 5);
    EXPECT_EQ(array.size1(), 5);
    EXPECT_EQ(array.size2(), 2);
    EXPECT_EQ(solution_cells(array).front(), (Cell{0, 0}));
    EXPECT_EQ(solution_cells(array).back(), (Cell{2, 2}));
}

// The command hands over exactly the cells the planner found, start first, for any weight.
TEST(FindPath, SolutionIsThePlannersPath) {
    std::mt19937 rng(99);
    int found = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const int32_t width = 1 + trial % 17;
        const int32_t height = 1 + trial % 13;
        const testing::CostMap costs =
            testing::random_cost_map(width, height, 0.25, 5.0, true, rng);
        const double weight = (trial % 7) * 0.25 - 0.25;  // -0.25 .. 1.25
        const Cell start{trial % width, (trial / 3) % height};
        const Cell goal{(trial * 5) % width, (trial * 7) % height};
        testing::LiteralPlanner literal;
        const auto expected = testing::run_planner(
            literal, testing::path_params(costs, static_cast<float>(weight), start, goal));
        DynArray<double> solution;
        const int32_t count = find_path(map_array(costs), solution, weight, start.first,
                                        start.second, goal.first, goal.second);
        ASSERT_EQ(count, static_cast<int32_t>(expected.path.size())) << "trial " << trial;
        EXPECT_EQ(solution_cells(solution), expected.path) << "trial " << trial;
        if (count > 0) ++found;
    }
    EXPECT_GT(found, 80);
}

TEST(FindPath, NanWeightCountsAsZero) {
    DynArray<double> map = uniform_array(5, 3, 1.0);
    for (int32_t x = 0; x < 5; ++x)
        map.at(x, 1) = 9.0;
    DynArray<double> by_nan;
    DynArray<double> by_zero;
    EXPECT_EQ(find_path(map, by_nan, std::nan(""), 0, 1, 4, 1), 7);
    EXPECT_EQ(find_path(map, by_zero, 0.0, 0, 1, 4, 1), 7);
    EXPECT_EQ(solution_cells(by_nan), solution_cells(by_zero));
}

}  // namespace
}  // namespace vexel
