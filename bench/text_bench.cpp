// Text commands against the standard library: number to text, search and replace-all.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <vexel/text.h>

namespace {

std::vector<double> sample_numbers() {
    // Whole numbers, fractions and large or tiny magnitudes, as scripts print them.
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> values;
    for (int i = 0; i < 1024; ++i) {
        switch (i % 4) {
            case 0:
                values.push_back(static_cast<double>(random() % 100000));
                break;
            case 1:
                values.push_back(unit(random) * 1000.0);
                break;
            case 2:
                values.push_back(unit(random) * 1e15);
                break;
            default:
                values.push_back(unit(random) * 1e-5);
                break;
        }
    }
    return values;
}

void BM_NumberToText_Vexel(benchmark::State& state) {
    const std::vector<double> values = sample_numbers();
    size_t i = 0;
    for (auto _ : state) {
        vexel::DynString text = vexel::number_to_text(values[i++ & 1023]);
        benchmark::DoNotOptimize(text.c_str());
    }
}
BENCHMARK(BM_NumberToText_Vexel);

void BM_FormatDouble_Vexel(benchmark::State& state) {
    const std::vector<double> values = sample_numbers();
    char text[32];
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vexel::format_double(values[i++ & 1023], text));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FormatDouble_Vexel);

void BM_NumberToText_ToChars(benchmark::State& state) {
    const std::vector<double> values = sample_numbers();
    char text[32];
    size_t i = 0;
    for (auto _ : state) {
        const auto result = std::to_chars(text, text + sizeof text, values[i++ & 1023],
                                          std::chars_format::general, 10);
        benchmark::DoNotOptimize(result.ptr);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_NumberToText_ToChars);

// What a conversion that returns its text must pay on top: number_to_text hands back a DynString,
// which owns a heap block of 80 bytes (63 reserved plus the terminator, rounded to 16).
void BM_NumberToText_ToCharsIntoANewBlock(benchmark::State& state) {
    const std::vector<double> values = sample_numbers();
    size_t i = 0;
    for (auto _ : state) {
        std::unique_ptr<char[]> text(new char[80]);
        const auto result = std::to_chars(text.get(), text.get() + 79, values[i++ & 1023],
                                          std::chars_format::general, 10);
        *result.ptr = 0;
        benchmark::DoNotOptimize(text.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_NumberToText_ToCharsIntoANewBlock);

// Lower-case text with the needle only at the very end, so the whole haystack is scanned.
std::string haystack_ending_with(const std::string& needle, size_t length) {
    std::mt19937 random(7);
    std::string text(length - needle.size(), 'a');
    for (char& c : text)
        c = static_cast<char>('a' + random() % 26);
    return text + needle;
}

// Both needles hold a byte the random letters never produce, so they occur only at the end.
const std::string kShortNeedle = "qu1z";
const std::string kLongNeedle = "the quick brown fox jumps over the lazy dog twice";
constexpr size_t kHaystackLength = 1 << 20;

void BM_Find_Vexel(benchmark::State& state, const std::string& needle) {
    const std::string raw = haystack_ending_with(needle, kHaystackLength);
    vexel::DynString haystack;
    haystack.append(raw.data(), static_cast<uint32_t>(raw.size()));
    const vexel::DynString target(needle.c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(vexel::find(haystack, target, 0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK_CAPTURE(BM_Find_Vexel, short_needle, kShortNeedle);
BENCHMARK_CAPTURE(BM_Find_Vexel, long_needle, kLongNeedle);

void BM_Find_StringView(benchmark::State& state, const std::string& needle) {
    const std::string raw = haystack_ending_with(needle, kHaystackLength);
    const std::string_view haystack(raw);
    for (auto _ : state)
        benchmark::DoNotOptimize(haystack.find(needle, 0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK_CAPTURE(BM_Find_StringView, short_needle, kShortNeedle);
BENCHMARK_CAPTURE(BM_Find_StringView, long_needle, kLongNeedle);

// Words separated by spaces with the target word every few words.
std::string replace_text() {
    std::mt19937 random(3);
    const char* words[] = {"cat", "dog", "bird", "fish", "horse", "mouse"};
    std::string text;
    while (text.size() < 64 * 1024) {
        text += words[random() % 6];
        text += ' ';
    }
    return text;
}

void BM_ReplaceAll_Vexel(benchmark::State& state) {
    const std::string raw = replace_text();
    const vexel::DynString text(raw.c_str());
    const vexel::DynString target("cat"), replacement("tiger");
    for (auto _ : state) {
        vexel::DynString result = vexel::replace_all(text, target, replacement);
        benchmark::DoNotOptimize(result.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK(BM_ReplaceAll_Vexel);

void BM_ReplaceAll_StringLoop(benchmark::State& state) {
    const std::string raw = replace_text();
    const std::string target = "cat", replacement = "tiger";
    for (auto _ : state) {
        std::string result = raw;
        for (size_t at = result.find(target); at != std::string::npos;
             at = result.find(target, at + replacement.size())) {
            result.replace(at, target.size(), replacement);
        }
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * raw.size()));
}
BENCHMARK(BM_ReplaceAll_StringLoop);

}  // namespace
