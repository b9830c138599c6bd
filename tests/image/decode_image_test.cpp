#include <gtest/gtest.h>

#include <png.h>

#include <cstring>
#include <filesystem>

#include "image/colour_value.h"
#include "image/decoder_test_support.h"
#include "image/image_decoders.h"
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
