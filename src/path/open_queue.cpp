#include "path/open_queue.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace vexel {

void OpenQueue::resize(int32_t capacity, Node* nodes) {
    clear();
    heap_.reset();
    heap_room_ = 0;
    capacity_ = 0;
    nodes_ = nodes;
    if (capacity <= 0) return;
    heap_room_ = 2 * static_cast<int64_t>(capacity);
    heap_ = std::make_unique_for_overwrite<Entry[]>(static_cast<size_t>(heap_room_));
    capacity_ = capacity;
}

void OpenQueue::clear() {
    for (int64_t i = 0; i < heap_size_; ++i)
        nodes_[heap_[i].node].open = false;
    heap_size_ = 0;
    size_ = 0;
}

bool OpenQueue::push(Node* node) {
    if (full()) return false;
    node->open = true;
    add_entry(node);
    ++size_;
    return true;
}

Node* OpenQueue::pop() {
    while (size_ > 0) {
        std::pop_heap(heap_.get(), heap_.get() + heap_size_, After{});
        const Entry& entry = heap_[--heap_size_];
        if (!live(entry)) continue;
        Node* node = &nodes_[entry.node];
        node->open = false;
        --size_;
        return node;
    }
    return nullptr;
}

void OpenQueue::requeue(Node* node) {
    add_entry(node);
}

void OpenQueue::add_entry(Node* node) {
    // At most capacity entries are live, so shedding the stale ones frees at least half the room.
    if (heap_size_ == heap_room_) drop_stale_entries();
    if (next_sequence_ == std::numeric_limits<uint32_t>::max()) renumber();
    node->sequence = next_sequence_++;
    const uint64_t f_bits = std::bit_cast<uint32_t>(node->f);
    heap_[heap_size_++] =
        Entry{f_bits << 32 | node->sequence, static_cast<uint32_t>(node - nodes_)};
    std::push_heap(heap_.get(), heap_.get() + heap_size_, After{});
}

void OpenQueue::drop_stale_entries() {
    Entry* end = std::remove_if(heap_.get(), heap_.get() + heap_size_,
                                [this](const Entry& entry) { return !live(entry); });
    heap_size_ = end - heap_.get();
    std::make_heap(heap_.get(), end, After{});
}

// Gives the live entries the sequences 0, 1, 2, ... in queue order. Sorted by key, the entries
// form a valid heap as they stand.
void OpenQueue::renumber() {
    drop_stale_entries();
    std::sort(heap_.get(), heap_.get() + heap_size_,
              [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (int64_t i = 0; i < heap_size_; ++i) {
        Entry& entry = heap_[i];
        const auto sequence = static_cast<uint32_t>(i);
        entry.key = (entry.key & ~uint64_t{0xFFFFFFFF}) | sequence;
        nodes_[entry.node].sequence = sequence;
    }
    next_sequence_ = static_cast<uint32_t>(heap_size_);
}

}  // namespace vexel
