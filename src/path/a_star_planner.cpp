#include "path/a_star_planner.h"

#include <cstdlib>

namespace vexel {

namespace {

struct Step {
    int32_t dx;
    int32_t dy;
    bool diagonal;
};

// The visiting order decides which of several equally good paths is found.
constexpr Step kSteps[8] = {{-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
                            {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true}};

}  // namespace

bool AStarPlanner::search() {
    ++search_count_;
    if (!grid_) return true;
    const PlannerParams& p = params_;
    const float weight = p.weight;
    const float diagonal_factor = p.diagonal_cost ? kDiagonalCostFactor : 1.0f;

    while (!open_.empty()) {
        Node* current = open_.pop();
        ++expanded_count_;
        const Cell at = cell_of(current);
        const float current_g = g_of(current);
        if (at.x == p.goal_x && at.y == p.goal_y) {
            close(current);
            result_ = current;
            idle_ = true;
            return true;
        }
        for (const Step& step : kSteps) {
            if (step.diagonal && !p.allow_diagonals) continue;
            const int32_t nx = at.x + step.dx;
            const int32_t ny = at.y + step.dy;
            if (nx < 0 || nx >= p.width || ny < 0 || ny >= p.height) continue;
            const int64_t cell = cell_index(nx, ny);
            const float cost = grid_[cell];
            if (cost == kWallCost) continue;

            const float g = current_g + (step.diagonal ? cost * diagonal_factor : cost);
            // Infinite when the cell has no node yet.
            const float old_g = factory_.g(cell);
            if (!(old_g > g)) continue;
            const auto h = static_cast<float>(std::llabs(static_cast<int64_t>(p.goal_x) - nx) +
                                              std::llabs(static_cast<int64_t>(p.goal_y) - ny));
            const float f = g + weight * (h - g);

            if (old_g != NodeFactory::kNoCost) {
                Node* node = &factory_.block()[cell];
                const bool reopen = !node->open;
                if (reopen && open_.full()) return give_up(current);
                node->parent = current;
                node->f = f;
                factory_.set_g(cell, g);
                if (reopen) {
                    --closed_count_;
                    open_.push(node);
                } else {
                    open_.requeue(node);
                }
                continue;
            }
            if (open_.full()) return give_up(current);
            Node* node = factory_.take(cell, g);
            if (!node) return give_up(current);
            node->parent = current;
            node->f = f;
            open_.push(node);
        }
        close(current);
    }
    idle_ = true;
    return true;
}

bool AStarPlanner::give_up(Node* current) {
    close(current);
    result_ = nullptr;
    idle_ = true;
    return false;
}

}  // namespace vexel
