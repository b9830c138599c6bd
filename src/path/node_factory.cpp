#include "path/node_factory.h"

#include <algorithm>

namespace vexel {

void NodeFactory::resize(int32_t cells, int32_t capacity) {
    nodes_.reset();
    g_.reset();
    taken_cells_.reset();
    capacity_ = 0;
    used_ = 0;
    if (cells <= 0) return;
    nodes_ = std::make_unique_for_overwrite<Node[]>(static_cast<size_t>(cells));
    g_ = std::make_unique_for_overwrite<float[]>(static_cast<size_t>(cells));
    std::fill_n(g_.get(), cells, kNoCost);
    // Each cell has one node, so a larger pool could never be used up.
    capacity_ = std::clamp(capacity, 0, cells);
    taken_cells_ = std::make_unique_for_overwrite<int32_t[]>(static_cast<size_t>(capacity_));
}

Node* NodeFactory::take(int64_t cell, float g) {
    if (used_ >= capacity_) return nullptr;
    taken_cells_[used_++] = static_cast<int32_t>(cell);
    g_[cell] = g;
    Node* node = &nodes_[cell];
    node->open = false;
    return node;
}

void NodeFactory::give_back(int64_t count) {
    // A node is taken exactly while its cost is finite; its flags are set anew when taken.
    for (; count > 0 && used_ > 0; --count)
        g_[taken_cells_[--used_]] = kNoCost;
}

}  // namespace vexel
