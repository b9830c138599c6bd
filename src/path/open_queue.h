// Internal: the planner's open list, ordered by priority and then by the time of insertion.
#pragma once

#include <cstdint>
#include <memory>

#include "path/node.h"

namespace vexel {

// Holds up to `capacity` nodes in (f ascending, insertion sequence ascending) order: the node
// taken next has the smallest f and, among equal f, was inserted first. Moving a node counts as
// a fresh insertion. Every f must be a non-negative number (never -0 or NaN), as the planner's
// are, so that its bit pattern orders like its value.
//
// A binary heap of entries keyed by f and sequence in one 64-bit number. Moving a node adds an
// entry and leaves the old one behind; an entry whose sequence is no longer its node's is
// skipped when it surfaces. The heap has room for twice the capacity and sheds its stale entries
// when it fills up, so nothing is allocated after resize. When the 32-bit sequence would wrap,
// the live entries are renumbered in order. The nodes must all lie in one block, such as a
// NodeFactory's.
class OpenQueue {
public:
    // The first sequence number handed out; only tests start anywhere but 0.
    explicit OpenQueue(uint32_t first_sequence = 0) : next_sequence_(first_sequence) {}

    // Empties the queue and makes room for `capacity` nodes (0 or less: none) of the block that
    // starts at `nodes`.
    void resize(int32_t capacity, Node* nodes);
    // Empties the queue and marks every queued node as not open.
    void clear();

    bool empty() const { return size_ == 0; }
    bool full() const { return size_ >= capacity_; }
    int32_t size() const { return size_; }
    int32_t capacity() const { return capacity_; }

    // Queues a node that is not open by its current f; false (nothing changes) when full.
    bool push(Node* node);
    // Removes and returns the first node in order, or null when empty.
    Node* pop();
    // Re-queues an open node whose f has changed, as the newest entry.
    void requeue(Node* node);

private:
    struct Entry {
        uint64_t key;   // f's bits above the sequence
        uint32_t node;  // index in the node block
    };
    // Heap order: the entry that must surface first is the greatest.
    struct After {
        bool operator()(const Entry& a, const Entry& b) const { return a.key > b.key; }
    };

    void add_entry(Node* node);
    bool live(const Entry& entry) const {
        const Node& node = nodes_[entry.node];
        return node.open && node.sequence == static_cast<uint32_t>(entry.key);
    }
    void drop_stale_entries();
    void renumber();

    std::unique_ptr<Entry[]> heap_;
    int64_t heap_room_ = 0;
    int64_t heap_size_ = 0;
    Node* nodes_ = nullptr;
    int32_t capacity_ = 0;
    int32_t size_ = 0;  // open nodes, one live entry each
    uint32_t next_sequence_;
};

}  // namespace vexel
