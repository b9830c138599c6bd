// The planner's algorithm written out the plain way, as the yardstick for AStarPlanner: a pool of
// individually allocated nodes, a closed table hashed by 16 × 16 tiles of the map, and an open
// list kept in a ring buffer sorted by f, searched linearly and filled by binary insertion.
// Quadratic on large maps; used by the tests and the benchmark, never by the engine.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "path/planner.h"

namespace vexel::testing {

struct LiteralNode {
    LiteralNode* parent;
    int32_t x;
    int32_t y;
    float f;
    float g;
    LiteralNode* next;
};

// A ring buffer of fixed capacity. Inserting or erasing in the middle rebuilds the live
// elements in a scratch buffer and swaps the buffers.
template <typename T>
class FixedDeque {
public:
    explicit FixedDeque(int32_t capacity)
        : capacity_(capacity), slots_(capacity), scratch_(capacity) {}

    int32_t size() const {
        if (empty_) return 0;
        return head_ < tail_ ? tail_ - head_ : capacity_ - head_ + tail_;
    }
    bool empty() const { return empty_; }
    void clear() {
        head_ = tail_ = 0;
        empty_ = true;
    }
    T back() const { return slots_[(tail_ + capacity_ - 1) % capacity_]; }
    T at(int32_t i) const { return slots_[(head_ + i) % capacity_]; }
    bool push_back(T value) {
        if (full()) return false;
        slots_[tail_] = value;
        tail_ = (tail_ + 1) % capacity_;
        empty_ = false;
        return true;
    }
    bool push_front(T value) {
        if (full()) return false;
        head_ = (head_ + capacity_ - 1) % capacity_;
        slots_[head_] = value;
        empty_ = false;
        return true;
    }
    void pop_back() {
        if (empty_) return;
        tail_ = (tail_ + capacity_ - 1) % capacity_;
        empty_ = head_ == tail_;
    }
    void pop_front() {
        if (empty_) return;
        head_ = (head_ + 1) % capacity_;
        empty_ = head_ == tail_;
    }
    bool insert(int32_t i, T value) {
        const int32_t count = size();
        if (full() || i < 0 || i > count) return false;
        if (i == count) return push_back(value);
        if (i == 0) return push_front(value);
        int32_t out = 0;
        for (int32_t k = 0; k < count; ++k) {
            if (k == i) scratch_[out++] = value;
            scratch_[out++] = at(k);
        }
        adopt_scratch(out);
        return true;
    }
    void erase(int32_t i) {
        const int32_t count = size();
        if (i < 0 || i >= count) return;
        int32_t out = 0;
        for (int32_t k = 0; k < count; ++k) {
            if (k != i) scratch_[out++] = at(k);
        }
        adopt_scratch(out);
    }

private:
    bool full() const { return capacity_ == 0 || (!empty_ && head_ == tail_); }
    void adopt_scratch(int32_t count) {
        std::swap(slots_, scratch_);
        head_ = 0;
        tail_ = count % capacity_;
        empty_ = count == 0;
    }

    int32_t capacity_;
    std::vector<T> slots_;
    std::vector<T> scratch_;
    int32_t head_ = 0;
    int32_t tail_ = 0;
    bool empty_ = true;
};

// Closed nodes chained in 2^bits buckets; with 8 bits, a 16 × 16 tiling of the map.
class NodeHashTable {
public:
    explicit NodeHashTable(int32_t bits) {
        bits_ = bits > 24 ? 24 : (bits < 0 ? 0 : bits & ~1);
        buckets_.assign(size_t{1} << bits_, nullptr);
    }
    int32_t bucket(int32_t x, int32_t y) const {
        const int32_t m = (1 << (bits_ / 2)) - 1;
        return (x & m) | ((y & m) << (bits_ / 2));
    }
    // False when this very node is already in its chain.
    bool insert(LiteralNode* node) {
        LiteralNode*& head = buckets_[bucket(node->x, node->y)];
        for (LiteralNode* n = head; n; n = n->next) {
            if (n == node) return false;
        }
        node->next = head;
        head = node;
        return true;
    }
    // The node of (x, y) or null; `link` receives the pointer that points at it.
    LiteralNode* find(int32_t x, int32_t y, LiteralNode*** link) {
        for (LiteralNode** at = &buckets_[bucket(x, y)]; *at; at = &(*at)->next) {
            if ((*at)->x == x && (*at)->y == y) {
                *link = at;
                return *at;
            }
        }
        return nullptr;
    }
    int64_t count() const {
        int64_t total = 0;
        for (LiteralNode* head : buckets_) {
            for (LiteralNode* n = head; n; n = n->next)
                ++total;
        }
        return total;
    }
    void clear() { std::fill(buckets_.begin(), buckets_.end(), nullptr); }

private:
    int32_t bits_;
    std::vector<LiteralNode*> buckets_;
};

class LiteralPlanner {
public:
    // Same request and same validation as Planner::setup, with the closed table at 8 bits.
    bool setup(const PlannerParams& params) {
        const auto inside = [](int32_t v, int32_t size) { return v >= 0 && v < size; };
        if (!inside(params.start_x, params.width) || !inside(params.start_y, params.height) ||
            !inside(params.goal_x, params.width) || !inside(params.goal_y, params.height)) {
            return false;
        }
        if (params.start_x == params.goal_x && params.start_y == params.goal_y) return false;
        const int32_t cells = params.width * params.height;
        grid_.assign(cells, 0.0f);
        float max_cost = 0.0f;
        for (int32_t i = 0; i < cells; ++i) {
            const auto value = static_cast<float>(params.map[i]);
            grid_[i] = value <= 0.0f ? -1.0f : value;
            if (value > max_cost) max_cost = value;
        }
        if (max_cost <= 0.0f) return false;
        for (float& cost : grid_) {
            if (cost > 0.0f) cost = cost / max_cost + 1.0f;
        }
        const int32_t pool_size = params.node_pool_size > 0 ? params.node_pool_size : cells;
        pool_.clear();
        for (int32_t i = 0; i < pool_size; ++i)
            pool_.push_back(std::make_unique<LiteralNode>());
        used_ = 0;
        open_ = std::make_unique<FixedDeque<LiteralNode*>>(
            params.open_capacity > 0 ? params.open_capacity : cells);
        params_ = params;
        params_.weight = clamp_weight(params.weight);
        result_ = nullptr;
        return true;
    }

    void prepare_start() {
        result_ = nullptr;
        expanded_ = 0;
        LiteralNode* start = take(nullptr, params_.start_x, params_.start_y, 0.0f, 0.0f);
        if (start) open_->push_back(start);
    }

    // True when the search ran to its end; false when the pool or the open list ran out.
    bool search() {
        static constexpr int32_t kDx[8] = {-1, 0, 1, 1, -1, -1, 0, 1};
        static constexpr int32_t kDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
        static constexpr bool kDiagonal[8] = {true, false, true, false, false, true, false, true};
        const float w = params_.weight;
        const float diag = params_.diagonal_cost ? kDiagonalCostFactor : 1.0f;
        while (!open_->empty()) {
            LiteralNode* current = open_->back();
            open_->pop_back();
            ++expanded_;
            if (current->x == params_.goal_x && current->y == params_.goal_y) {
                closed_.insert(current);
                result_ = current;
                return true;
            }
            for (int k = 0; k < 8; ++k) {
                if (kDiagonal[k] && !params_.allow_diagonals) continue;
                const int32_t nx = current->x + kDx[k];
                const int32_t ny = current->y + kDy[k];
                if (nx < 0 || nx >= params_.width || ny < 0 || ny >= params_.height) continue;
                const float c = grid_[nx + params_.width * ny];
                if (c == -1.0f) continue;
                const float g = kDiagonal[k] ? current->g + c * diag : current->g + c;
                const auto h = static_cast<float>(std::abs(params_.goal_x - nx) +
                                                  std::abs(params_.goal_y - ny));
                const float f = g + w * (h - g);
                LiteralNode** link = nullptr;
                if (LiteralNode* closed = closed_.find(nx, ny, &link)) {
                    if (closed->g > g) {
                        *link = closed->next;
                        closed->parent = current;
                        closed->g = g;
                        closed->f = f;
                        if (!insert_sorted(closed)) return give_up(current);
                    }
                    continue;
                }
                const int32_t at = find_open(nx, ny);
                if (at >= 0) {
                    LiteralNode* open = open_->at(at);
                    if (open->g > g) {
                        open_->erase(at);
                        open->parent = current;
                        open->g = g;
                        open->f = f;
                        insert_sorted(open);
                    }
                    continue;
                }
                LiteralNode* fresh = take(current, nx, ny, f, g);
                if (!fresh || !insert_sorted(fresh)) return give_up(current);
            }
            closed_.insert(current);
        }
        return true;
    }

    void reset() {
        const int64_t held = open_->size() + closed_.count();
        used_ = held >= used_ ? 0 : used_ - static_cast<int32_t>(held);
        open_->clear();
        closed_.clear();
        result_ = nullptr;
    }

    const LiteralNode* result() const { return result_; }
    vexel::Cell cell_of(const LiteralNode* node) const { return {node->x, node->y}; }
    int64_t expanded_count() const { return expanded_; }
    int32_t pool_used() const { return used_; }

private:
    LiteralNode* take(LiteralNode* parent, int32_t x, int32_t y, float f, float g) {
        if (used_ >= static_cast<int32_t>(pool_.size())) return nullptr;
        LiteralNode* node = pool_[used_++].get();
        *node = LiteralNode{parent, x, y, f, g, nullptr};
        return node;
    }
    int32_t find_open(int32_t x, int32_t y) const {
        for (int32_t i = open_->size() - 1; i >= 0; --i) {
            const LiteralNode* node = open_->at(i);
            if (node->x == x && node->y == y) return i;
        }
        return -1;
    }
    // Front to back the list runs from the largest f to the smallest; a node goes in front of
    // every node whose f is not greater, so equal f leave in the order they came.
    bool insert_sorted(LiteralNode* node) {
        int32_t low = 0;
        int32_t high = open_->size();
        while (low < high) {
            const int32_t mid = (low + high) / 2;
            if (open_->at(mid)->f > node->f) {
                low = mid + 1;
            } else {
                high = mid;
            }
        }
        return open_->insert(low, node);
    }
    bool give_up(LiteralNode* current) {
        closed_.insert(current);
        result_ = nullptr;
        return false;
    }

    PlannerParams params_;
    std::vector<float> grid_;
    std::vector<std::unique_ptr<LiteralNode>> pool_;
    int32_t used_ = 0;
    std::unique_ptr<FixedDeque<LiteralNode*>> open_ = std::make_unique<FixedDeque<LiteralNode*>>(0);
    NodeHashTable closed_{8};
    const LiteralNode* result_ = nullptr;
    int64_t expanded_ = 0;
};

}  // namespace vexel::testing
