#include "support/golden_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "support/image_files.h"

namespace vexel::testing {

namespace {

std::string golden_path(const std::string& name) {
    return std::string(VEXEL_SOURCE_DIR) + "/tests/golden/" + name;
}

bool updating_goldens() {
    const char* flag = std::getenv("VEXEL_UPDATE_GOLDEN");
    return flag && std::strcmp(flag, "1") == 0;
}

}  // namespace

bool read_picture(const std::string& path, Picture& picture) {
    return read_png_rgba(path, picture.width, picture.height, picture.rgba);
}

std::string compare_with_golden(const std::string& actual, const std::string& name,
                                const GoldenTolerance& tolerance) {
    const std::string golden = golden_path(name);
    if (updating_goldens()) {
        std::error_code error;
        std::filesystem::copy_file(actual, golden,
                                   std::filesystem::copy_options::overwrite_existing, error);
        return error ? "cannot write " + golden : std::string();
    }
    Picture want;
    Picture got;
    if (!read_picture(golden, want)) return "no golden picture " + golden;
    if (!read_picture(actual, got)) return "no picture " + actual;
    if (want.width != got.width || want.height != got.height) {
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) +
               ", golden " + std::to_string(want.width) + "x" + std::to_string(want.height);
    }
    const size_t pixels = size_t{want.width} * want.height;
    size_t outliers = 0;
    int largest = 0;
    for (size_t i = 0; i < pixels; ++i) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(int{want.rgba[i * 4 + c]} - int{got.rgba[i * 4 + c]}));
        largest = std::max(largest, worst);
        if (worst > tolerance.channel) ++outliers;
    }
    if (static_cast<double>(outliers) <= tolerance.outlier_fraction * static_cast<double>(pixels))
        return {};
    return std::to_string(outliers) + " of " + std::to_string(pixels) +
           " pixels differ by more than " + std::to_string(tolerance.channel) + " (largest " +
           std::to_string(largest) + ") from " + golden;
}

int64_t changed_pixels(const Picture& a, const Picture& b, uint32_t x0, uint32_t y0, uint32_t x1,
                       uint32_t y1) {
    if (a.width != b.width || a.height != b.height) return -1;
    x1 = std::min(x1, a.width);
    y1 = std::min(y1, a.height);
    int64_t changed = 0;
    for (uint32_t y = y0; y < y1; ++y) {
        for (uint32_t x = x0; x < x1; ++x) {
            const size_t at = (size_t{y} * a.width + x) * 4;
            if (std::memcmp(&a.rgba[at], &b.rgba[at], 3) != 0) ++changed;
        }
    }
    return changed;
}

}  // namespace vexel::testing
