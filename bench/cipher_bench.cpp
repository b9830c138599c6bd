#include <benchmark/benchmark.h>

#include <string>

#include <vexel/cipher.h>

namespace {

// Each call runs the full key schedule (521 block encryptions) before the text's blocks.
void BM_EncryptText(benchmark::State& state) {
    const vexel::DynString key("benchmark key");
    const vexel::DynString text(std::string(static_cast<size_t>(state.range(0)), 'x').c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(vexel::encrypt(key, text));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncryptText)->Arg(16)->Arg(1024)->Arg(65536);

void BM_DecryptText(benchmark::State& state) {
    const vexel::DynString key("benchmark key");
    const vexel::DynString text(std::string(static_cast<size_t>(state.range(0)), 'x').c_str());
    const vexel::DynString hex = vexel::encrypt(key, text);
    for (auto _ : state)
        benchmark::DoNotOptimize(vexel::decrypt(key, hex));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecryptText)->Arg(16)->Arg(1024)->Arg(65536);

}  // namespace
