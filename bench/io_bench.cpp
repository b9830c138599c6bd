// Line reading and archive unpacking against their plain counterparts. The 50 MB text file and the
// archive are made in the temporary folder when the program starts and removed when it ends.
#include <benchmark/benchmark.h>
#include <lzo/lzo1x.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

#include <vexel/archive.h>
#include <vexel/error.h>

#include "io/file_stream.h"
#include "io/virtual_files.h"

namespace {

constexpr size_t kTextSize = 50u << 20;
constexpr size_t kEntrySize = 16u << 20;

struct BenchData {
    std::string folder;
    std::string text_path;
    std::string text;
    std::string archive_path;
    std::string archive;
    std::vector<uint8_t> entry;
    std::vector<uint8_t> packed;

    BenchData() {
        folder = std::string(vexel::temp_folder()) + "vexel_io_bench/";
        ::mkdir(folder.c_str(), 0777);
        make_text();
        make_archive();
    }

    ~BenchData() {
        std::remove(text_path.c_str());
        std::remove(archive_path.c_str());
        ::rmdir(folder.c_str());
    }

    // Lines of 0 to 120 characters, like source code or a log.
    void make_text() {
        unsigned seed = 7;
        text.reserve(kTextSize + 200);
        while (text.size() < kTextSize) {
            seed = seed * 1103515245u + 12345u;
            const size_t length = (seed >> 16) % 121;
            for (size_t i = 0; i < length; ++i)
                text += static_cast<char>('a' + (i + seed) % 26);
            text += (seed & 0x100) ? "\r\n" : "\n";
        }
        text_path = folder + "lines.txt";
        std::ofstream(text_path, std::ios::binary) << text;
    }

    void make_archive() {
        entry.assign(text.begin(), text.begin() + kEntrySize);
        if (lzo_init() != LZO_E_OK) return;
        std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
        packed.resize(entry.size() + entry.size() / 16 + 67);
        lzo_uint packed_size = 0;
        lzo1x_1_compress(entry.data(), entry.size(), packed.data(), &packed_size, work.data());
        packed.resize(packed_size);

        auto put_32 = [this](uint32_t value) {
            for (int i = 0; i < 4; ++i)
                archive += static_cast<char>(value >> (8 * i));
        };
        put_32(static_cast<uint32_t>(entry.size()));
        archive.append(packed.begin(), packed.end());
        const auto directory = static_cast<uint32_t>(archive.size());
        archive += static_cast<char>(9);
        archive += "entry.bin";
        put_32(0);
        put_32(static_cast<uint32_t>(packed.size() + 4));
        archive += '\0';
        archive += "voV";
        put_32(directory);
        archive_path = folder + "bench.vxa";
        std::ofstream(archive_path, std::ios::binary) << archive;
    }
};

BenchData& data() {
    static BenchData bench_data;
    return bench_data;
}

size_t count_lines(vexel::FileStream& stream) {
    char line[vexel::kLineLimit + 1];
    uint32_t length = 0;
    size_t lines = 0;
    while (stream.read_line(line, &length))
        ++lines;
    return lines;
}

size_t count_lines(std::istream& in) {
    std::string line;
    size_t lines = 0;
    while (std::getline(in, line))
        ++lines;
    return lines;
}

class MemoryBuffer : public std::streambuf {
public:
    explicit MemoryBuffer(std::string& bytes) {
        setg(bytes.data(), bytes.data(), bytes.data() + bytes.size());
    }
};

void BM_ReadLineDisk(benchmark::State& state) {
    BenchData& bench = data();  // made once, before any clock runs
    for (auto _ : state) {
        vexel::FileStream stream;
        stream.open_read(bench.text_path.c_str());
        benchmark::DoNotOptimize(count_lines(stream));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bench.text.size()));
}

void BM_GetlineDisk(benchmark::State& state) {
    BenchData& bench = data();  // made once, before any clock runs
    for (auto _ : state) {
        std::ifstream in(bench.text_path, std::ios::binary);
        benchmark::DoNotOptimize(count_lines(in));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bench.text.size()));
}

void BM_ReadLineMemory(benchmark::State& state) {
    vexel::MemoryFile memory(data().text.data(), static_cast<uint32_t>(data().text.size()));
    for (auto _ : state) {
        vexel::FileStream stream;
        stream.open_read(memory.name().c_str());
        benchmark::DoNotOptimize(count_lines(stream));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data().text.size()));
}

void BM_GetlineMemory(benchmark::State& state) {
    BenchData& bench = data();  // made once, before any clock runs
    for (auto _ : state) {
        MemoryBuffer buffer(bench.text);
        std::istream in(&buffer);
        benchmark::DoNotOptimize(count_lines(in));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data().text.size()));
}

void BM_ArchiveResolveDisk(benchmark::State& state) {
    vexel::set_archive(data().archive_path.c_str(), "");
    vexel::DynString resolved;
    for (auto _ : state) {
        if (!vexel::resolve_name("entry.bin", resolved, true)) state.SkipWithError("not found");
    }
    vexel::set_archive("", "");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kEntrySize));
}

void BM_ArchiveResolveMemory(benchmark::State& state) {
    vexel::MemoryFile archive(data().archive.data(), static_cast<uint32_t>(data().archive.size()));
    vexel::set_archive(archive.name().c_str(), "");
    vexel::DynString resolved;
    for (auto _ : state) {
        if (!vexel::resolve_name("entry.bin", resolved, true)) state.SkipWithError("not found");
    }
    vexel::set_archive("", "");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kEntrySize));
}

void BM_LzoDecompressDirect(benchmark::State& state) {
    std::vector<uint8_t> out(kEntrySize);
    for (auto _ : state) {
        lzo_uint length = out.size();
        lzo1x_decompress_safe(data().packed.data(), data().packed.size(), out.data(), &length,
                              nullptr);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kEntrySize));
}

BENCHMARK(BM_ReadLineDisk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetlineDisk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLineMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetlineMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveResolveDisk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveResolveMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzoDecompressDirect)->Unit(benchmark::kMillisecond);

}  // namespace
