// key_state between two presents: one million queries per frame, against the keyboard read that
// the present (and every 129th query) makes. Head-less unless VEXEL_VIDEO says otherwise.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <vexel/vexel.h>

#include "input/input_state.h"

namespace {

constexpr int kQueriesPerFrame = 1000000;

// One engine for the whole program, started on first use.
void start_engine() {
    static const bool started = [] {
        setenv("VEXEL_VIDEO", "offscreen", 0);
        setenv("VEXEL_FIXED_FRAME_MS", "0", 1);  // the limiter never waits
        static std::string temp = "/tmp/vexel-bench-XXXXXX";
        if (mkdtemp(temp.data())) setenv("TMPDIR", temp.c_str(), 1);
        vexel::init_engine(1, "input bench");
        vexel::set_escape_quits(0);
        return true;
    }();
    (void)started;
}

void BM_MillionKeyStatesBetweenPresents(benchmark::State& state) {
    start_engine();
    int64_t down = 0;
    for (auto _ : state) {
        state.PauseTiming();
        vexel::show_screen();
        state.ResumeTiming();
        for (int i = 0; i < kQueriesPerFrame; ++i)
            down += vexel::key_state(i);
    }
    benchmark::DoNotOptimize(down);
    state.SetItemsProcessed(state.iterations() * kQueriesPerFrame);
    state.counters["ns_per_query"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kQueriesPerFrame,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MillionKeyStatesBetweenPresents)->Unit(benchmark::kMillisecond);

// What one keyboard read costs, for comparison with a query.
void BM_KeyboardRead(benchmark::State& state) {
    start_engine();
    for (auto _ : state)
        vexel::refresh_keyboard();
}
BENCHMARK(BM_KeyboardRead);

}  // namespace
