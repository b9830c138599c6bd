#include <benchmark/benchmark.h>

#include <vexel/math.h>

namespace {

// One draw is one full ISAAC pass over the 256-word state.
void BM_Random(benchmark::State& state) {
    vexel::seed_random(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(vexel::random(1000));
}
BENCHMARK(BM_Random);

void BM_SeedRandom(benchmark::State& state) {
    int32_t seed = 0;
    for (auto _ : state)
        vexel::seed_random(++seed);
}
BENCHMARK(BM_SeedRandom);

}  // namespace
