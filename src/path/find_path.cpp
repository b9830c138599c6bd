#include <vexel/error.h>
#include <vexel/path.h>

#include <new>

#include "path/a_star_planner.h"

namespace vexel {

namespace {

constexpr int32_t kOutOfMemory = 7;

// The inner layer: plans over the map's storage and fills points with [n][2] cells, start
// first. The map is read only here, before the caller writes any solution.
int32_t plan_path(const DynArray<double>& map, double weight, int32_t start_x, int32_t start_y,
                  int32_t goal_x, int32_t goal_y, DynArray<int32_t>& points) {
    PlannerParams params;
    params.start_x = start_x;
    params.start_y = start_y;
    params.goal_x = goal_x;
    params.goal_y = goal_y;
    params.weight = clamp_weight(weight);
    params.width = map.size1();
    params.height = map.size2();
    params.map = map.elements();
    // Only the first two dimensions are read; an array whose storage holds fewer cells than
    // they span (none does, but a map is script data) is refused rather than overrun.
    if (static_cast<int64_t>(params.width) * params.height > map.count()) params.map = nullptr;

    AStarPlanner planner;
    if (!planner.setup(params)) return 0;
    planner.prepare_start();
    planner.search();
    int32_t count = 0;
    for (const Node* node = planner.result(); node; node = node->parent)
        ++count;
    points.dim(count, 2);
    int32_t index = count;
    for (const Node* node = planner.result(); node; node = node->parent) {
        const Cell cell = planner.cell_of(node);
        --index;
        points.at(index, 0) = cell.x;
        points.at(index, 1) = cell.y;
    }
    planner.reset();
    return count;
}

}  // namespace

int32_t find_path(const DynArray<double>& map, DynArray<double>& solution, double weight,
                  int32_t start_x, int32_t start_y, int32_t goal_x, int32_t goal_y) {
    DynArray<int32_t> points;
    int32_t count = 0;
    try {
        count = plan_path(map, weight, start_x, start_y, goal_x, goal_y, points);
    } catch (const std::bad_alloc&) {
        set_error(kOutOfMemory);
        count = 0;
    }
    solution.dim(count, 2);
    for (int32_t i = 0; i < count; ++i) {
        solution.at(i, 0) = points.at(i, 0);
        solution.at(i, 1) = points.at(i, 1);
    }
    return count;
}

}  // namespace vexel
