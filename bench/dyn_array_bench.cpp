// DynArray::push against std::vector::push_back, for numbers and for texts. Each iteration
// builds one array of range(0) elements from empty; push should stay within a small factor of
// push_back at every length, the longest included.
#include <cstdint>
#include <vector>

#include <benchmark/benchmark.h>

#include <vexel/dyn_array.h>

#include "platform/memory_policy.h"

namespace {

// The engine keeps freed memory from start-up on (platform/memory_policy.h), so the figures do too:
// without it, blocks from 128 KiB up come fresh from the system on every iteration, for both.
const bool kKeepsFreedMemory = (vexel::platform::keep_freed_memory(), true);

void BM_DynArrayPushDouble(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        vexel::DynArray<double> array;
        for (int32_t n = 0; n < count; ++n)
            array.push(n * 0.5);
        benchmark::DoNotOptimize(array.elements());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_VectorPushBackDouble(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        std::vector<double> vector;
        for (int32_t n = 0; n < count; ++n)
            vector.push_back(n * 0.5);
        benchmark::DoNotOptimize(vector.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_DynArrayPushText(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    const vexel::DynString text("a line of script text");
    for (auto _ : state) {
        vexel::DynArray<vexel::DynString> array;
        for (int32_t n = 0; n < count; ++n)
            array.push(text);
        benchmark::DoNotOptimize(array.elements());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_VectorPushBackText(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    const vexel::DynString text("a line of script text");
    for (auto _ : state) {
        std::vector<vexel::DynString> vector;
        for (int32_t n = 0; n < count; ++n)
            vector.push_back(text);
        benchmark::DoNotOptimize(vector.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(BM_DynArrayPushDouble)->Arg(100)->Arg(1000)->Arg(10000)->Arg(1000000);
BENCHMARK(BM_VectorPushBackDouble)->Arg(100)->Arg(1000)->Arg(10000)->Arg(1000000);
BENCHMARK(BM_DynArrayPushText)->Arg(100)->Arg(1000)->Arg(10000)->Arg(1000000);
BENCHMARK(BM_VectorPushBackText)->Arg(100)->Arg(1000)->Arg(10000)->Arg(1000000);

}  // namespace
