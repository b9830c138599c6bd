// Internal: the pool the planner takes its nodes from.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>

#include "path/node.h"

namespace vexel {

// One node per map cell, of which at most `capacity` may be taken at once. All nodes exist from
// the moment the pool is sized, so a search allocates nothing. Nodes are given back by count,
// the most recently taken first; the planner returns every node at once.
//
// The accumulated cost g of each cell's node lives in a dense array, infinite while the node is
// not taken: a search reads it for every neighbour it looks at, and most of those looks end
// there, without touching the node itself.
class NodeFactory {
public:
    static constexpr float kNoCost = std::numeric_limits<float>::infinity();

    // Drops every node and makes `cells` fresh ones, none taken, at most `capacity` (clamped to
    // [0, cells]) takeable at once. Allocation failure throws std::bad_alloc.
    void resize(int32_t cells, int32_t capacity);
    // Takes the node of a cell that has none taken, gives it cost g and marks it not open; null
    // when `capacity` nodes are taken. Its parent and f hold stale values.
    Node* take(int64_t cell, float g);
    // The cost of a cell's taken node, or kNoCost: a node is taken exactly while it is finite.
    float g(int64_t cell) const { return g_[cell]; }
    void set_g(int64_t cell, float g) { g_[cell] = g; }
    // Gives back the `count` most recently taken nodes (all when count is larger).
    void give_back(int64_t count);

    int32_t capacity() const { return capacity_; }
    int32_t used() const { return used_; }
    // The node block; a node's index in it is its cell.
    Node* block() const { return nodes_.get(); }
    int64_t cell_of(const Node* node) const { return node - nodes_.get(); }

private:
    std::unique_ptr<Node[]> nodes_;
    std::unique_ptr<float[]> g_;
    std::unique_ptr<int32_t[]> taken_cells_;  // in the order taken
    int32_t capacity_ = 0;
    int32_t used_ = 0;
};

}  // namespace vexel
