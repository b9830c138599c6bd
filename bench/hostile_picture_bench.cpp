// Small hostile pictures against the decoders: files of a few hundred bytes whose headers claim
// pictures of up to 16384 x 4096, and a PNG whose ancillary chunk claims almost 2 GB. Each is
// decoded from a "mem://" block; besides the time, the counter "peak_heap_MiB" gives the largest
// number of heap bytes held at once during one decode (every malloc of the process is counted,
// libpng's and libjpeg's included, whether or not its pages were ever touched), and "decoded"
// says whether the decoder took the file for a picture.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "image/image_decoders.h"
#include "io/virtual_files.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<int64_t> live_bytes{0};
std::atomic<int64_t> peak_bytes{0};

void* counted(void* block) {
    if (!block) return block;
    const int64_t now = live_bytes += static_cast<int64_t>(malloc_usable_size(block));
    int64_t peak = peak_bytes.load();
    while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
    }
    return block;
}

void uncount(void* block) {
    if (block) live_bytes -= static_cast<int64_t>(malloc_usable_size(block));
}

}  // namespace

// Every allocation of the process passes through these, so that the library's own count too.
extern "C" {
void* malloc(size_t size) {
    return counted(__libc_malloc(size));
}
void* calloc(size_t count, size_t size) {
    return counted(__libc_calloc(count, size));
}
void* realloc(void* block, size_t size) {
    uncount(block);
    return counted(__libc_realloc(block, size));
}
void* memalign(size_t alignment, size_t size) {
    return counted(__libc_memalign(alignment, size));
}
void* aligned_alloc(size_t alignment, size_t size) {
    return counted(__libc_memalign(alignment, size));
}
int posix_memalign(void** block, size_t alignment, size_t size) {
    *block = counted(__libc_memalign(alignment, size));
    return *block ? 0 : ENOMEM;
}
void free(void* block) {
    uncount(block);
    __libc_free(block);
}
}

namespace {

void put_u32_be(std::string& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

// One PNG chunk: length, type, data, and the checksum over type and data.
std::string png_chunk(const char* type, const std::string& data, uint32_t claimed_length) {
    std::string chunk(8, '\0');
    put_u32_be(chunk, 0, claimed_length);
    std::memcpy(chunk.data() + 4, type, 4);
    chunk += data;
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(chunk.data() + 4), 4 + data.size()));
    chunk.resize(chunk.size() + 4);
    put_u32_be(chunk, chunk.size() - 4, crc);
    return chunk;
}

std::string png_header(uint32_t width, uint32_t height) {
    std::string ihdr(13, '\0');
    put_u32_be(ihdr, 0, width);
    put_u32_be(ihdr, 4, height);
    ihdr[8] = 8;  // bit depth
    ihdr[9] = 6;  // RGBA
    return std::string("\x89PNG\r\n\x1a\n", 8) + png_chunk("IHDR", ihdr, 13);
}

// 69 bytes: a 16384 x 4096 RGBA header and a few bytes of image data.
std::string png_claiming_a_large_picture() {
    const std::string raw(8, '\0');
    uLongf packed_size = compressBound(raw.size());
    std::string packed(packed_size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
             reinterpret_cast<const Bytef*>(raw.data()), raw.size());
    packed.resize(packed_size);
    return png_header(16384, 4096) + png_chunk("IDAT", packed, uint32_t(packed.size())) +
           png_chunk("IEND", "", 0);
}

// 41 bytes: a valid header, then the start of a text chunk declaring 0x71000000 bytes.
std::string png_claiming_a_huge_chunk() {
    std::string bytes = png_header(16, 16) + std::string(8, '\0');
    put_u32_be(bytes, 33, 0x71000000);
    std::memcpy(bytes.data() + 37, "sPLT", 4);
    return bytes;
}

// A small flat grey JPEG whose frame header is rewritten to claim 16384 x 4096.
std::string jpeg_claiming_a_large_picture(bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 8;
    info.image_height = 8;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(8, 128);
    while (info.next_scanline < 8) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    free(buffer);
    const size_t frame = bytes.find(progressive ? "\xFF\xC2" : "\xFF\xC0");
    bytes[frame + 5] = 0x10;  // height 4096
    bytes[frame + 6] = 0x00;
    bytes[frame + 7] = 0x40;  // width 16384
    bytes[frame + 8] = 0x00;
    return bytes;
}

void decode_hostile(benchmark::State& state, const std::string& bytes) {
    vexel::MemoryFile file(bytes.data(), static_cast<uint32_t>(bytes.size()));
    vexel::ImageBuffer picture;
    int64_t peak = 0;
    bool decoded = false;
    for (auto _ : state) {
        peak_bytes = live_bytes.load();
        const int64_t before = live_bytes.load();
        decoded = vexel::decode_image(file.name().c_str(), -1, picture);
        peak = std::max(peak, peak_bytes.load() - before);
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
    state.counters["decoded"] = decoded;
    state.counters["peak_heap_MiB"] = static_cast<double>(peak) / (1 << 20);
}

void png_large_claim(benchmark::State& state) {
    decode_hostile(state, png_claiming_a_large_picture());
}
BENCHMARK(png_large_claim)->Unit(benchmark::kMillisecond);

void png_huge_chunk(benchmark::State& state) {
    decode_hostile(state, png_claiming_a_huge_chunk());
}
BENCHMARK(png_huge_chunk)->Unit(benchmark::kMillisecond);

void jpeg_large_claim(benchmark::State& state) {
    decode_hostile(state, jpeg_claiming_a_large_picture(false));
}
BENCHMARK(jpeg_large_claim)->Unit(benchmark::kMillisecond);

void jpeg_progressive_large_claim(benchmark::State& state) {
    decode_hostile(state, jpeg_claiming_a_large_picture(true));
}
BENCHMARK(jpeg_progressive_large_claim)->Unit(benchmark::kMillisecond);

}  // namespace
