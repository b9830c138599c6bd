// Internal: the grid path planner behind find_path. A planner lives for one command call:
// setup, prepare_start, search, read the result, reset.
#pragma once

#include <cstdint>
#include <memory>

#include "path/node.h"
#include "path/node_factory.h"
#include "path/open_queue.h"

namespace vexel {

// What a caller asks of the planner. The map is read only during setup.
struct PlannerParams {
    int32_t start_x = 0;
    int32_t start_y = 0;
    int32_t goal_x = 0;
    int32_t goal_y = 0;
    bool diagonal_cost = false;    // a diagonal step costs the cell cost × kDiagonalCostFactor
    bool allow_diagonals = false;  // visit the four diagonal neighbours as well
    int32_t node_pool_size = 0;    // 0 or less: width × height
    int32_t open_capacity = 0;     // 0 or less: width × height
    float weight = 0.0f;           // heuristic weight, clamped to [0, 1]
    int32_t width = 0;             // cells along the first map index
    int32_t height = 0;            // cells along the second map index
    const double* map = nullptr;   // width × height costs, cell (x, y) at x + width·y
};

inline constexpr float kDiagonalCostFactor = 1.4142137f;
// Cost of a wall cell in the normalised grid.
inline constexpr float kWallCost = -1.0f;

struct Cell {
    int32_t x;
    int32_t y;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// The weight the planner uses: within [0, 1], NaN as 0.
float clamp_weight(double weight);

class Planner {
public:
    Planner() = default;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;
    virtual ~Planner() = default;

    // Validates the request, builds the normalised cost grid and sizes the pool and the open
    // queue. False, leaving the planner without a grid, when start or goal lies outside the map,
    // start equals goal, the map is missing or has no cell above 0. Allocation failure throws
    // std::bad_alloc.
    bool setup(const PlannerParams& params);
    // Starts a search over again from the start node; nothing without a grid.
    virtual void prepare_start();
    // Runs the search to its end. True when it ended by finding the goal or by running out of
    // nodes to expand; false when it gave up for lack of pool nodes or open-queue room.
    virtual bool search() = 0;
    // Gives every node back to the pool, empties the open queue and the closed set, clears the
    // result and makes the planner idle.
    virtual void reset();

    // The goal node of the path found, or null. Parent links lead back to the start.
    const Node* result() const { return result_; }
    // The cell a node stands for.
    Cell cell_of(const Node* node) const {
        const int64_t cell = factory_.cell_of(node);
        return Cell{static_cast<int32_t>(cell % params_.width),
                    static_cast<int32_t>(cell / params_.width)};
    }
    // The accumulated cost of a node of the current search.
    float g_of(const Node* node) const { return factory_.g(factory_.cell_of(node)); }
    bool idle() const { return idle_; }
    const PlannerParams& params() const { return params_; }
    // The normalised cost of a cell inside the map: kWallCost or a value in (1, 2].
    float cell_cost(int32_t x, int32_t y) const { return grid_[cell_index(x, y)]; }
    uint32_t search_count() const { return search_count_; }
    // Nodes taken off the open queue by the current search.
    uint64_t expanded_count() const { return expanded_count_; }
    int32_t pool_used() const { return factory_.used(); }

protected:
    int64_t cell_index(int32_t x, int32_t y) const {
        return x + static_cast<int64_t>(params_.width) * y;
    }
    // Puts an expanded node into the closed set.
    void close(Node* node) {
        ++closed_count_;
        node->open = false;
    }

    bool idle_ = true;
    NodeFactory factory_;
    PlannerParams params_;
    std::unique_ptr<float[]> grid_;
    uint32_t search_count_ = 0;
    uint64_t expanded_count_ = 0;
    OpenQueue open_;
    // Taken nodes that are not open are closed (or being expanded); only their count is kept.
    int64_t closed_count_ = 0;
    const Node* result_ = nullptr;
};

}  // namespace vexel
