// Path planner speed: find_path against the plain sorted-list algorithm it must match and
// against a textbook binary-heap A* on the same maps. Prints milliseconds per search (thread CPU
// time, median of several runs; for find_path the whole command, for the others set-up, search
// and path) and nodes expanded; lit/fp and heap/fp are their times over find_path's.
//
//   build/bench/path_bench [--literal-large]
//
// The plain algorithm is quadratic; on 1024 × 1024 maps it runs only with --literal-large.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <queue>
#include <random>
#include <string>
#include <vector>

#include "../tests/support/literal_planner.h"
#include "../tests/support/path_maps.h"
#include "../tests/support/path_run.h"
#include "path/a_star_planner.h"

#include <vexel/path.h>

namespace {

using vexel::PlannerParams;
using vexel::testing::CostMap;
using vexel::testing::PathRun;

// Weighted A* as a textbook writes it: g scores per cell, a binary heap with stale entries
// skipped on pop, a node reopened whenever a cheaper way to it turns up. Same costs, same
// neighbours and the same priority g + w·(h − g) as the engine, but no fixed tie order.
PathRun textbook_a_star(const PlannerParams& p) {
    PathRun run;
    const int64_t cells = static_cast<int64_t>(p.width) * p.height;
    std::vector<float> cost(cells);
    float max_cost = 0.0f;
    for (int64_t i = 0; i < cells; ++i) {
        cost[i] = p.map[i] > 0.0 ? static_cast<float>(p.map[i]) : -1.0f;
        max_cost = std::max(max_cost, cost[i]);
    }
    for (float& c : cost) {
        if (c > 0.0f) c = c / max_cost + 1.0f;
    }
    run.set_up = true;
    run.completed = true;
    const float w = vexel::clamp_weight(p.weight);
    std::vector<float> g(cells, INFINITY);
    std::vector<int32_t> parent(cells, -1);
    struct Entry {
        float f;
        int32_t cell;
        float g;
        bool operator>(const Entry& other) const { return f > other.f; }
    };
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    const int32_t start = p.start_x + p.width * p.start_y;
    const int32_t goal = p.goal_x + p.width * p.goal_y;
    g[start] = 0.0f;
    open.push({0.0f, start, 0.0f});
    constexpr int32_t kDx[4] = {0, 1, -1, 0};
    constexpr int32_t kDy[4] = {-1, 0, 0, 1};
    while (!open.empty()) {
        const Entry top = open.top();
        open.pop();
        if (top.g > g[top.cell]) continue;
        ++run.expanded;
        if (top.cell == goal) {
            for (int32_t c = goal; c >= 0; c = parent[c])
                run.path.emplace_back(c % p.width, c / p.width);
            std::reverse(run.path.begin(), run.path.end());
            break;
        }
        const int32_t x = top.cell % p.width;
        const int32_t y = top.cell / p.width;
        for (int k = 0; k < 4; ++k) {
            const int32_t nx = x + kDx[k];
            const int32_t ny = y + kDy[k];
            if (nx < 0 || nx >= p.width || ny < 0 || ny >= p.height) continue;
            const int32_t n = nx + p.width * ny;
            if (cost[n] < 0.0f) continue;
            const float ng = top.g + cost[n];
            if (!(ng < g[n])) continue;
            g[n] = ng;
            parent[n] = top.cell;
            const auto h = static_cast<float>(std::abs(p.goal_x - nx) + std::abs(p.goal_y - ny));
            open.push({ng + w * (h - ng), n, ng});
        }
    }
    return run;
}

struct Timing {
    double ms = 0.0;  // per search
    PathRun run;
};

// CPU time of this thread: the machine may be shared, and waiting for a core is not search time.
double cpu_ms() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The median of several runs.
Timing measure(const std::function<PathRun()>& search, int repeats) {
    Timing timing;
    std::vector<double> samples;
    for (int i = 0; i < repeats; ++i) {
        const double begin = cpu_ms();
        timing.run = search();
        samples.push_back(cpu_ms() - begin);
    }
    std::sort(samples.begin(), samples.end());
    timing.ms = samples[samples.size() / 2];
    return timing;
}

// The engine's path through the command itself, with the expansion count of the same search.
PathRun engine_find_path(const vexel::DynArray<double>& map, const PlannerParams& params) {
    PathRun run;
    vexel::DynArray<double> solution;
    const int32_t count = vexel::find_path(map, solution, params.weight, params.start_x,
                                           params.start_y, params.goal_x, params.goal_y);
    run.set_up = run.completed = true;
    for (int32_t i = 0; i < count; ++i) {
        run.path.emplace_back(static_cast<int32_t>(solution.at(i, 0)),
                              static_cast<int32_t>(solution.at(i, 1)));
    }
    return run;
}

int64_t engine_expanded(const PlannerParams& params) {
    vexel::AStarPlanner planner;
    return vexel::testing::run_planner(planner, params).expanded;
}

struct Scenario {
    std::string name;
    CostMap map;
    vexel::testing::Cell start;
    vexel::testing::Cell goal;
};

std::vector<Scenario> scenarios() {
    std::vector<Scenario> list;
    std::mt19937 rng(1234);
    for (int32_t side : {256, 1024}) {
        CostMap walls = vexel::testing::random_cost_map(side, side, 0.3, 9.0, true, rng);
        // Open corners, so that the start is not walled in by chance.
        for (int32_t dy = 0; dy < 3; ++dy) {
            for (int32_t dx = 0; dx < 3; ++dx) {
                walls.at(dx, dy) = 1.0;
                walls.at(side - 1 - dx, side - 1 - dy) = 1.0;
            }
        }
        list.push_back({"walls30", std::move(walls), {0, 0}, {side - 1, side - 1}});
        // Passages lie on even coordinates.
        list.push_back(
            {"maze", vexel::testing::maze_map(side, side, rng), {0, 0}, {side - 2, side - 2}});
    }
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    const bool literal_large = argc > 1 && std::strcmp(argv[1], "--literal-large") == 0;
    std::printf("%-8s %5s %4s | %10s %9s %6s | %10s %9s %7s | %10s %9s %7s\n", "map", "side", "w",
                "find_path", "expanded", "path", "literal ms", "expanded", "lit/fp", "heap ms",
                "expanded", "heap/fp");
    for (const Scenario& s : scenarios()) {
        const int32_t side = s.map.width;
        const int repeats = side <= 256 ? 15 : 3;
        vexel::DynArray<double> map;
        map.dim(side, side);
        std::copy(s.map.cells.begin(), s.map.cells.end(), map.elements());
        for (float weight : {0.0f, 0.5f, 1.0f}) {
            const PlannerParams params =
                vexel::testing::path_params(s.map, weight, s.start, s.goal);
            Timing engine = measure([&] { return engine_find_path(map, params); }, repeats);
            engine.run.expanded = engine_expanded(params);
            Timing literal;
            const bool run_literal = side <= 256 || literal_large;
            if (run_literal) {
                literal = measure(
                    [&] {
                        vexel::testing::LiteralPlanner planner;
                        return vexel::testing::run_planner(planner, params);
                    },
                    side <= 256 ? 3 : 1);
                if (literal.run.path != engine.run.path) {
                    std::printf("literal and engine paths differ\n");
                    return 1;
                }
            }
            const Timing heap = measure([&] { return textbook_a_star(params); }, repeats);
            std::printf("%-8s %5d %4.1f | %10.2f %9lld %6zu | ", s.name.c_str(), side, weight,
                        engine.ms, static_cast<long long>(engine.run.expanded),
                        engine.run.path.size());
            if (run_literal) {
                std::printf("%10.2f %9lld %6.1fx | ", literal.ms,
                            static_cast<long long>(literal.run.expanded), literal.ms / engine.ms);
            } else {
                std::printf("%10s %9s %7s | ", "-", "-", "-");
            }
            std::printf("%10.2f %9lld %6.2fx\n", heap.ms, static_cast<long long>(heap.run.expanded),
                        heap.ms / engine.ms);
            std::fflush(stdout);
        }
    }
    return 0;
}
