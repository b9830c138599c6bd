// Internal: weighted A* over the planner's cost grid.
#pragma once

#include "path/planner.h"

namespace vexel {

// Expands nodes in (f, insertion) order, where f = g + w·(h − g) with h the Manhattan distance
// to the goal, so w = 0 orders by cost alone and w = 1 by distance alone. A node that is reached
// more cheaply is moved, from the open queue or back from the closed set, to its new place.
class AStarPlanner final : public Planner {
public:
    bool search() override;

private:
    // Ends the search without a path when the pool or the open queue is exhausted.
    bool give_up(Node* current);
};

}  // namespace vexel
