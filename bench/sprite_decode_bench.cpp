// Picture decoding: the engine's loader path (decode_image: the BMP check, then libpng or
// libjpeg through a FileStream, then the RGBA conversion) against libpng and libjpeg called
// directly on a C file with the same settings and no conversion. The pictures are written by
// the engine's own encoders into the temporary folder when the program starts, before any
// benchmark runs its clock.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include <vexel/error.h>

#include "image/colour_value.h"
#include "image/image_decoders.h"
#include "image/image_encoders.h"

namespace {

constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;

struct BenchFiles {
    std::string folder;
    std::string png;
    std::string jpeg;

    BenchFiles() {
        folder = std::string(vexel::temp_folder()) + "vexel_sprite_bench/";
        ::mkdir(folder.c_str(), 0777);
        png = folder + "picture.png";
        jpeg = folder + "picture.jpg";
        // Smooth gradients with a little noise, like a painted or photographed sprite sheet.
        vexel::ImageBuffer picture;
        picture.size_for(kWidth, kHeight);
        unsigned seed = 11;
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                seed = seed * 1103515245 + 12345;
                const int noise = int(seed >> 28) - 8;
                uint8_t* p = picture.pixel(x, y);
                p[0] = static_cast<uint8_t>((x / 4 + noise) & 255);
                p[1] = static_cast<uint8_t>((y / 3 + noise) & 255);
                p[2] = static_cast<uint8_t>(((x + y) / 8) & 255);
                p[3] = static_cast<uint8_t>(x % 64 < 60 ? 255 : 0);
            }
        }
        vexel::encode_png(png.c_str(), picture);
        vexel::encode_jpeg(jpeg.c_str(), picture);
    }
    ~BenchFiles() {
        std::remove(png.c_str());
        std::remove(jpeg.c_str());
        ::rmdir(folder.c_str());
    }
};

const BenchFiles& files() {
    static BenchFiles instance;
    return instance;
}

void engine_png(benchmark::State& state) {
    vexel::ImageBuffer picture;
    for (auto _ : state) {
        if (!vexel::decode_image(files().png.c_str(), vexel::kDefaultSpriteColourKey, picture))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.pixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(engine_png)->Unit(benchmark::kMillisecond);

bool plain_png(const char* name, std::vector<uint8_t>& samples, std::vector<png_bytep>& rows) {
    FILE* file = std::fopen(name, "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_packing(png);
    png_read_update_info(png, info);
    const size_t row_bytes = png_get_rowbytes(png, info);
    const uint32_t height = png_get_image_height(png, info);
    samples.resize(row_bytes * height);
    rows.resize(height);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = samples.data() + y * row_bytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return true;
}

void libpng_direct(benchmark::State& state) {
    std::vector<uint8_t> samples;
    std::vector<png_bytep> rows;
    for (auto _ : state) {
        if (!plain_png(files().png.c_str(), samples, rows)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(libpng_direct)->Unit(benchmark::kMillisecond);

void engine_jpeg(benchmark::State& state) {
    vexel::ImageBuffer picture;
    for (auto _ : state) {
        if (!vexel::decode_image(files().jpeg.c_str(), vexel::kDefaultSpriteColourKey, picture))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(picture.pixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(engine_jpeg)->Unit(benchmark::kMillisecond);

bool plain_jpeg(const char* name, std::vector<uint8_t>& samples) {
    FILE* file = std::fopen(name, "rb");
    if (!file) return false;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    const size_t row_bytes = size_t(info.output_width) * info.output_components;
    samples.resize(row_bytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = samples.data() + info.output_scanline * row_bytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return true;
}

void libjpeg_direct(benchmark::State& state) {
    std::vector<uint8_t> samples;
    for (auto _ : state) {
        if (!plain_jpeg(files().jpeg.c_str(), samples)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(samples.data());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(libjpeg_direct)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    files();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
