// Internal: one search state of the path planner.
#pragma once

#include <cstdint>

namespace vexel {

// Every cell of the map has its node in the pool's block, at the cell's index, so neighbouring
// cells have neighbouring nodes. The cell (x, y) follows from that index, and the node's
// accumulated cost g is kept by the pool in a dense array of its own (see NodeFactory).
struct Node {
    Node* parent;       // the node this one was reached from; null for the start node
    float f;            // priority: g + w·(h − g)
    bool open;          // waiting in the open queue; else closed or being expanded
    uint32_t sequence;  // when the node last entered the open queue
};

}  // namespace vexel
