// Runs a planner through one search the way find_path does and collects what it found.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "path/planner.h"
#include "path_maps.h"

namespace vexel::testing {

using Cell = std::pair<int32_t, int32_t>;

struct PathRun {
    bool set_up = false;
    bool completed = false;  // search ran to its end rather than giving up
    std::vector<Cell> path;  // start first, goal last; empty when none was found
    int64_t expanded = 0;
};

// The request find_path makes for this map.
inline PlannerParams path_params(const CostMap& map, float weight, Cell start, Cell goal) {
    PlannerParams params;
    params.start_x = start.first;
    params.start_y = start.second;
    params.goal_x = goal.first;
    params.goal_y = goal.second;
    params.weight = weight;
    params.width = map.width;
    params.height = map.height;
    params.map = map.cells.data();
    return params;
}

// Works for AStarPlanner and LiteralPlanner alike.
template <typename PlannerType>
PathRun run_planner(PlannerType& planner, const PlannerParams& params) {
    PathRun run;
    run.set_up = planner.setup(params);
    if (!run.set_up) return run;
    planner.prepare_start();
    run.completed = planner.search();
    run.expanded = static_cast<int64_t>(planner.expanded_count());
    for (auto* node = planner.result(); node; node = node->parent) {
        const vexel::Cell at = planner.cell_of(node);
        run.path.emplace_back(at.x, at.y);
    }
    std::reverse(run.path.begin(), run.path.end());
    planner.reset();
    return run;
}

}  // namespace vexel::testing
