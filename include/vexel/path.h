// Vexel — path planning over grid maps. A map is a two-dimensional number array whose element
// [x][y] is the cost of entering cell (x, y); 0 or less (or NaN) is a wall. Steps go to the four
// orthogonal neighbours.
#pragma once

#include <cstdint>

#include <vexel/dyn_array.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Path finding
//------------------------------------------------------------------------------------------------

// A* from start to goal, weight clamped to [0, 1] (0 cheapest path first, 1 nearest to the
// goal first); solution becomes [n][2] with the x and y of each cell from start to goal. Returns
// n, or 0 with solution [0][2] when there is no path, start or goal lies outside the map, start
// equals goal, or no cell is passable (last error 7 when memory runs out).
int32_t find_path(const DynArray<double>& map, DynArray<double>& solution, double weight,
                  int32_t start_x, int32_t start_y, int32_t goal_x, int32_t goal_y);

}  // namespace vexel
