#include <gtest/gtest.h>

#include <png.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "image/colour_value.h"
#include "image/decoder_test_support.h"
#include "image/image_decoders.h"
#include "io/virtual_files.h"
#include "support/image_files.h"

namespace vexel {
namespace {

using testing::rgba;
using testing::rgba_at;
using testing::ScopedTempDir;

class DecodeImageTest : public ::testing::Test {
protected:
    std::string file(const std::string& name, const std::string& bytes) {
        testing::write_file(temp_.file(name), bytes);
        return temp_.file(name);
    }

    ScopedTempDir temp_;
    ImageBuffer picture_ = testing::used_buffer();
};

TEST_F(DecodeImageTest, EachFormatIsFoundWhateverTheName) {
    testing::BmpLayout bmp;
    bmp.width = 1;
    bmp.height = 1;
    bmp.values = {0xFF0080};
    ASSERT_TRUE(decode_image(file("a.png", testing::bmp_bytes(bmp)).c_str(),
                             kDefaultSpriteColourKey, picture_));
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(0, 0, 0, 0));

    testing::PngLayout png{1, 1, PNG_COLOR_TYPE_RGB, 8};
    png.samples = {255, 0, 128};
    ASSERT_TRUE(decode_image(file("b.jpg", testing::png_bytes(png)).c_str(),
                             kDefaultSpriteColourKey, picture_));
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(0, 0, 0, 0));

    // JPEG pictures are never keyed.
    std::vector<uint8_t> grey(16 * 16, 0);
    ASSERT_TRUE(
        decode_image(file("c.bmp", testing::jpeg_bytes(16, 16, 1, grey)).c_str(), 0, picture_));
    EXPECT_EQ(picture_.pixel(5, 5)[3], 255);
}

TEST_F(DecodeImageTest, FontSheetsNeverTryJpeg) {
    std::vector<uint8_t> grey(16 * 16, 100);
    const std::string name = file("sheet.jpg", testing::jpeg_bytes(16, 16, 1, grey));
    EXPECT_FALSE(decode_bmp_or_png(name.c_str(), 0, picture_));
    EXPECT_TRUE(testing::is_reset(picture_));
    EXPECT_TRUE(decode_image(name.c_str(), 0, picture_));
}

TEST_F(DecodeImageTest, FileNoDecoderAcceptsFails) {
    EXPECT_FALSE(decode_image(file("notes.txt", "just some text\n").c_str(), -1, picture_));
    EXPECT_TRUE(testing::is_reset(picture_));
    EXPECT_FALSE(decode_image(file("empty.bmp", "").c_str(), -1, picture_));
    EXPECT_FALSE(decode_image(temp_.file("absent.bmp").c_str(), -1, picture_));
    EXPECT_TRUE(testing::is_reset(picture_));
}

// The PNG with the sizes in its header replaced (and the header's checksum made right).
std::string png_claiming(std::string bytes, uint32_t width, uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = static_cast<char>(width >> (24 - 8 * i));
        bytes[20 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    const uint32_t crc =
        png_uint_32(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17));
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    return bytes;
}

TEST_F(DecodeImageTest, FailuresSayWhy) {
    testing::BmpLayout bmp;
    bmp.width = 2;
    bmp.height = 1;
    bmp.values = {1, 2};
    testing::BmpLayout rle = bmp;
    rle.bit_count = 8;
    rle.palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    rle.compression = 1;
    testing::BmpLayout v4 = bmp;
    v4.header_size = 108;
    testing::BmpLayout wide = bmp;
    wide.width = 16385;
    wide.values.assign(16385, 0);
    testing::PngLayout png{2, 2, PNG_COLOR_TYPE_RGB, 8};
    png.samples.assign(12, 9);
    testing::PngLayout grey_alpha{1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8};
    grey_alpha.samples = {1, 2};
    const std::string good_png = testing::png_bytes(png);
    const std::vector<uint8_t> grey(16 * 16, 50);

    const struct {
        const char* what;
        std::string bytes;
        ImageFailure why;
    } cases[] = {
        {"text", "just some text\n", ImageFailure::kNotAPicture},
        {"empty file", "", ImageFailure::kNotAPicture},
        {"compressed BMP", testing::bmp_bytes(rle), ImageFailure::kUnsupported},
        {"BMP with a newer header", testing::bmp_bytes(v4), ImageFailure::kUnsupported},
        {"grey PNG with alpha", testing::png_bytes(grey_alpha), ImageFailure::kUnsupported},
        {"arithmetic JPEG",
         testing::jpeg_bytes(16, 16, 1, grey, 90, testing::JpegCoding::kArithmetic),
         ImageFailure::kUnsupported},
        {"PNG cut short", good_png.substr(0, good_png.size() - 20), ImageFailure::kDamaged},
        {"BMP cut short", testing::bmp_bytes(bmp).substr(0, 56), ImageFailure::kDamaged},
        {"JPEG cut short", testing::jpeg_bytes(16, 16, 1, grey).substr(0, 200),
         ImageFailure::kDamaged},
        {"BMP wider than the limit", testing::bmp_bytes(wide), ImageFailure::kTooLarge},
        {"PNG taller than the limit", png_claiming(good_png, 2, 20000), ImageFailure::kTooLarge},
        {"PNG of too many pixels", png_claiming(good_png, 16384, 8192),
         ImageFailure::kTooManyPixels},
        {"good PNG", good_png, ImageFailure::kNone},
    };
    for (const auto& c : cases) {
        ImageFailure why = ImageFailure::kOutOfMemory;
        EXPECT_EQ(decode_image(file("picture", c.bytes).c_str(), -1, picture_, &why),
                  c.why == ImageFailure::kNone)
            << c.what;
        EXPECT_EQ(why, c.why) << c.what << ": " << image_failure_reason(why);
    }
}

// Decodes with room for only 64 MiB more address space; exits 0 when the file was refused as
// damaged.
[[noreturn]] void decode_with_little_memory_left(const std::string& name) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t cap = rlim_t(pages) * sysconf(_SC_PAGESIZE) + (64 << 20);
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
    ImageBuffer picture;
    ImageFailure why = ImageFailure::kNone;
    decode_image(name.c_str(), -1, picture, &why);
    std::exit(why == ImageFailure::kDamaged ? 0 : 1);
}

// Files of a few hundred bytes whose headers claim 16384 x 4096 pixels (256 MiB as RGBA) are
// refused from their headers: decoded in a process that cannot map 64 MiB more than it has,
// they still fail as damaged, not for want of memory.
TEST_F(DecodeImageTest, ClaimedSizesAreNotAllocatedBeforeTheDataIsThere) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any cap allows";
#endif
    testing::PngLayout png{2, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8};
    png.samples.assign(16, 9);
    std::string jpeg = testing::jpeg_bytes(8, 8, 1, std::vector<uint8_t>(64, 128), 50);
    const size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    jpeg.replace(frame + 5, 4, std::string("\x10\x00\x40\x00", 4));  // 4096 rows of 16384
    const std::string hostile[] = {png_claiming(testing::png_bytes(png), 16384, 4096), jpeg};
    for (const std::string& bytes : hostile) {
        ASSERT_LT(bytes.size(), 400u);
        MemoryFile memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EXIT(decode_with_little_memory_left(memory.name()), ::testing::ExitedWithCode(0),
                    "");
    }
}

//------------------------------------------------------------------------------------------------
// Conformance corpora
//------------------------------------------------------------------------------------------------

std::string corpus(const std::string& path) {
    return std::string(VEXEL_SHARED_DIR) + "/corpora/" + path;
}

bool corpus_present(const std::string& path) {
    return std::filesystem::exists(corpus(path));
}

// The BMP files of the corpus in the forms the decoder reads: 12- or 40-byte headers,
// uncompressed rows, 1, 4, 8, 16, 24 or 32 bits.
const char* const kReadableBmps[] = {
    "Core_1_Bit.bmp",
    "Core_4_Bit.bmp",
    "Core_8_Bit.bmp",
    "Info_1_Bit.bmp",
    "Info_1_Bit_Top_Down.bmp",
    "Info_4_Bit.bmp",
    "Info_4_Bit_Top_Down.bmp",
    "Info_8_Bit.bmp",
    "Info_8_Bit_Top_Down.bmp",
    "Info_A8_R8_G8_B8.bmp",
    "Info_A8_R8_G8_B8_Top_Down.bmp",
    "Info_R8_G8_B8.bmp",
    "Info_R8_G8_B8_Top_Down.bmp",
    "Info_X1_R5_G5_B5.bmp",
    "Info_X1_R5_G5_B5_Top_Down.bmp",
    "pal8os2-hs.bmp",
    "pal8os2-sz.bmp",
    "pal8os2sp.bmp",
    "rgb16.bmp",
    "rgb24.bmp",
    "rgb32.bmp",
    "pal8badindex.bmp",
    "lenient/badplanes.bmp",
    "lenient/badpalettesize.bmp",
    "lenient/pal8oversizepal.bmp",
};

bool readable(const std::string& name) {
    for (const char* known : kReadableBmps)
        if (name == known) return true;
    return false;
}

TEST(BmpCorpusTest, ReadableFormsMatchTheReferenceDecodes) {
    if (!corpus_present("bmp/images")) GTEST_SKIP() << "no BMP corpus";
    int compared = 0;
    for (const char* name : kReadableBmps) {
        ImageBuffer picture;
        ASSERT_TRUE(
            decode_bmp(corpus(std::string("bmp/images/") + name).c_str(), kNoColourKey, picture))
            << name;
        const std::string reference = corpus(std::string("bmp/reference/images/") + name + ".png");
        if (!std::filesystem::exists(reference)) continue;
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> expected;
        ASSERT_TRUE(testing::read_png_rgba(reference, width, height, expected)) << name;
        ASSERT_EQ(picture.width(), int32_t(width)) << name;
        ASSERT_EQ(picture.height(), int32_t(height)) << name;
        // Five-bit channels scale by truncation here, by rounding in the reference.
        const int tolerance =
            std::string(name).find("R5") != std::string::npos || std::string(name) == "rgb16.bmp"
                ? 1
                : 0;
        int worst = 0;
        for (size_t i = 0; i < expected.size(); i += 4) {
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(int(picture.pixels()[i + c]) - expected[i + c]));
            ASSERT_EQ(picture.pixels()[i + 3], 255) << name;
        }
        EXPECT_LE(worst, tolerance) << name;
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

TEST(BmpCorpusTest, OtherFormsFailCleanly) {
    if (!corpus_present("bmp/images")) GTEST_SKIP() << "no BMP corpus";
    int refused = 0;
    for (const std::string folder : {"", "lenient/"}) {
        for (const auto& entry :
             std::filesystem::directory_iterator(corpus("bmp/images/" + folder))) {
            const std::string name = folder + entry.path().filename().string();
            if (entry.is_directory() || readable(name)) continue;
            ImageBuffer picture = testing::used_buffer();
            EXPECT_FALSE(decode_image(entry.path().c_str(), kNoColourKey, picture)) << name;
            EXPECT_TRUE(testing::is_reset(picture)) << name;
            ++refused;
        }
    }
    EXPECT_GT(refused, 20);
}

// What PngSuite's file names and chunks promise: the colour type (fifth character) and whether
// a transparency chunk is present.
struct PngFacts {
    int colour_type = -1;
    bool has_transparency = false;
    bool interlaced = false;
    uint32_t width = 0;
    uint32_t height = 0;
};

PngFacts png_facts(const std::string& path) {
    const std::string bytes = testing::read_file(path);
    PngFacts facts;
    auto u32 = [&](size_t at) {
        return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
               uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
    };
    if (bytes.size() < 33) return facts;
    facts.width = u32(16);
    facts.height = u32(20);
    facts.colour_type = uint8_t(bytes[25]);
    facts.interlaced = bytes[28] != 0;
    for (size_t at = 8; at + 8 <= bytes.size(); at += 12 + u32(at)) {
        if (bytes.compare(at + 4, 4, "tRNS") == 0) facts.has_transparency = true;
        if (u32(at) > bytes.size()) break;
    }
    return facts;
}

TEST(PngSuiteTest, EveryFileDecodesOrFailsAsItsFormDemands) {
    if (!corpus_present("pngsuite")) GTEST_SKIP() << "no PngSuite";
    int decoded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus("pngsuite"))) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png" || name == "PngSuite.png") continue;
        ImageBuffer picture = testing::used_buffer();
        const bool ok = decode_png(entry.path().c_str(), kNoColourKey, picture);
        if (name[0] == 'x') {
            EXPECT_FALSE(ok) << name;
            EXPECT_TRUE(testing::is_reset(picture)) << name;
            continue;
        }
        const PngFacts facts = png_facts(entry.path());
        const bool grey = facts.colour_type == PNG_COLOR_TYPE_GRAY;
        const bool two_channels =
            facts.colour_type == PNG_COLOR_TYPE_GRAY_ALPHA || (grey && facts.has_transparency);
        if (two_channels) {
            EXPECT_FALSE(ok) << name;
            EXPECT_TRUE(testing::is_reset(picture)) << name;
            continue;
        }
        ASSERT_TRUE(ok) << name;
        ++decoded;
        EXPECT_EQ(picture.width(), int32_t(facts.width)) << name;
        EXPECT_EQ(picture.height(), int32_t(facts.height)) << name;
        const bool has_alpha =
            facts.colour_type == PNG_COLOR_TYPE_RGB_ALPHA || facts.has_transparency;
        EXPECT_EQ(picture.alpha_from_source(), has_alpha) << name;
        for (int32_t y = 0; y < picture.height(); ++y) {
            for (int32_t x = 0; x < picture.width(); ++x) {
                const uint8_t* p = picture.pixel(x, y);
                if (grey) {
                    ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << name;
                }
                if (!has_alpha) {
                    ASSERT_EQ(p[3], 255) << name;
                }
            }
        }
    }
    EXPECT_GT(decoded, 100);
}

TEST(PngSuiteTest, InterlacedFilesDecodeLikeTheirProgressiveTwins) {
    if (!corpus_present("pngsuite")) GTEST_SKIP() << "no PngSuite";
    int pairs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus("pngsuite"))) {
        std::string name = entry.path().filename().string();
        // basi0g08.png / basn0g08.png, s05i3p02.png / s05n3p02.png, ...
        if (name[0] == 'x' || name.size() != 12 || name[3] != 'i') continue;
        std::string twin = name;
        twin[3] = 'n';
        if (!std::filesystem::exists(corpus("pngsuite/" + twin))) continue;
        ImageBuffer interlaced;
        ImageBuffer progressive;
        const bool a = decode_png(entry.path().c_str(), kNoColourKey, interlaced);
        const bool b = decode_png(corpus("pngsuite/" + twin).c_str(), kNoColourKey, progressive);
        ASSERT_EQ(a, b) << name;
        if (!a) continue;
        ASSERT_EQ(interlaced.byte_count(), progressive.byte_count()) << name;
        EXPECT_EQ(0, std::memcmp(interlaced.pixels(), progressive.pixels(),
                                 size_t(interlaced.byte_count())))
            << name;
        ++pairs;
    }
    EXPECT_GT(pairs, 10);
}

}  // namespace
}  // namespace vexel
