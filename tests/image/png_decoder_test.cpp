#include <gtest/gtest.h>

#include <cstring>

#include <png.h>
#include <zlib.h>

#include "image/colour_value.h"
#include "image/decoder_test_support.h"
#include "image/image_decoders.h"
#include "support/image_files.h"

namespace vexel {
namespace {

using testing::PngLayout;
using testing::rgba;
using testing::rgba_at;
using testing::ScopedTempDir;
using testing::StreamKind;
using testing::StreamSource;

// Packs one sample per pixel into rows of the given bit depth (MSB first, 16-bit big-endian).
std::vector<uint8_t> pack(const std::vector<uint32_t>& samples, uint32_t per_row, int depth) {
    std::vector<uint8_t> out;
    for (size_t row = 0; row < samples.size() / per_row; ++row) {
        uint32_t bits = 0;
        uint32_t filled = 0;
        for (uint32_t i = 0; i < per_row; ++i) {
            const uint32_t v = samples[row * per_row + i];
            if (depth == 16) {
                out.push_back(static_cast<uint8_t>(v >> 8));
                out.push_back(static_cast<uint8_t>(v));
            } else if (depth == 8) {
                out.push_back(static_cast<uint8_t>(v));
            } else {
                bits = bits << depth | v;
                filled += depth;
                if (filled == 8) {
                    out.push_back(static_cast<uint8_t>(bits));
                    bits = filled = 0;
                }
            }
        }
        if (filled > 0) out.push_back(static_cast<uint8_t>(bits << (8 - filled)));
    }
    return out;
}

class PngDecoderTest : public ::testing::Test {
protected:
    bool decode(const PngLayout& layout, int32_t key = kNoColourKey) {
        return decode(testing::png_bytes(layout), key);
    }
    bool decode(const std::string& bytes, int32_t key = kNoColourKey) {
        testing::write_file(temp_.file("test.png"), bytes);
        return decode_png(temp_.file("test.png").c_str(), key, picture_, &why_);
    }

    ScopedTempDir temp_;
    ImageBuffer picture_ = testing::used_buffer();
    ImageFailure why_ = ImageFailure::kNone;
};

TEST_F(PngDecoderTest, GreyOfEveryDepthBecomesOpaqueGrey) {
    for (int depth : {1, 2, 4, 8, 16}) {
        const uint32_t max = depth == 16 ? 65535 : (1u << depth) - 1;
        std::vector<uint32_t> samples;
        for (uint32_t i = 0; i < 10; ++i)
            samples.push_back(i * max / 9);
        PngLayout layout{5, 2, PNG_COLOR_TYPE_GRAY, depth};
        layout.samples = pack(samples, 5, depth);
        ASSERT_TRUE(decode(layout, colour_value(255, 255, 255))) << depth;
        EXPECT_FALSE(picture_.alpha_from_source());
        for (uint32_t i = 0; i < 10; ++i) {
            // Low depths scale up to the full range; 16-bit samples keep their high byte.
            const uint32_t v = samples[i];
            const uint8_t grey = depth == 16 ? uint8_t(v >> 8) : uint8_t(v * 255 / max);
            EXPECT_EQ(rgba_at(picture_, i % 5, i / 5), rgba(grey, grey, grey, 255))
                << depth << " bits, sample " << i;
        }
    }
}

TEST_F(PngDecoderTest, RgbIsKeyedAndOpaque) {
    for (int depth : {8, 16}) {
        std::vector<uint32_t> samples = {255, 0, 128, 1, 2, 3, 255, 0, 129};
        if (depth == 16)
            for (uint32_t& v : samples)
                v = v << 8 | 0x5A;
        PngLayout layout{3, 1, PNG_COLOR_TYPE_RGB, depth};
        layout.samples = pack(samples, 9, depth);
        ASSERT_TRUE(decode(layout, kDefaultSpriteColourKey)) << depth;
        EXPECT_FALSE(picture_.alpha_from_source());
        EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(0, 0, 0, 0));
        EXPECT_EQ(rgba_at(picture_, 1, 0), rgba(1, 2, 3, 255));
        EXPECT_EQ(rgba_at(picture_, 2, 0), rgba(255, 0, 129, 255));
        ASSERT_TRUE(decode(layout, kNoColourKey));
        EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(255, 0, 128, 255));
    }
}

TEST_F(PngDecoderTest, RgbaKeepsItsAlphaAndIsNeverKeyed) {
    for (int depth : {8, 16}) {
        std::vector<uint32_t> samples = {255, 0, 128, 255, 10, 20, 30, 0, 40, 50, 60, 77};
        if (depth == 16)
            for (uint32_t& v : samples)
                v = v << 8 | 0xFF;
        PngLayout layout{3, 1, PNG_COLOR_TYPE_RGB_ALPHA, depth};
        layout.samples = pack(samples, 12, depth);
        ASSERT_TRUE(decode(layout, kDefaultSpriteColourKey)) << depth;
        EXPECT_TRUE(picture_.alpha_from_source());
        EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(255, 0, 128, 255));
        EXPECT_EQ(rgba_at(picture_, 1, 0), rgba(10, 20, 30, 0));
        EXPECT_EQ(rgba_at(picture_, 2, 0), rgba(40, 50, 60, 77));
    }
}

TEST_F(PngDecoderTest, PalettesOfEveryDepthExpandToRgb) {
    for (int depth : {1, 2, 4, 8}) {
        const uint32_t entries = 1u << depth;
        PngLayout layout{4, 2, PNG_COLOR_TYPE_PALETTE, depth};
        for (uint32_t i = 0; i < entries; ++i)
            layout.palette.push_back({uint8_t(i * 3), uint8_t(255 - i), uint8_t(i ^ 0x55)});
        std::vector<uint32_t> indices;
        for (uint32_t i = 0; i < 8; ++i)
            indices.push_back((i * 5) % entries);
        layout.samples = pack(indices, 4, depth);
        ASSERT_TRUE(decode(layout)) << depth;
        EXPECT_FALSE(picture_.alpha_from_source());
        for (uint32_t i = 0; i < 8; ++i) {
            const auto& e = layout.palette[indices[i]];
            EXPECT_EQ(rgba_at(picture_, i % 4, i / 4), rgba(e[0], e[1], e[2], 255)) << depth;
        }
    }
}

TEST_F(PngDecoderTest, PaletteTransparencyBecomesAlpha) {
    PngLayout layout{3, 1, PNG_COLOR_TYPE_PALETTE, 8};
    layout.palette = {{255, 0, 128}, {1, 2, 3}, {4, 5, 6}};
    layout.palette_alpha = {0, 100};
    layout.samples = {0, 1, 2};
    ASSERT_TRUE(decode(layout, kDefaultSpriteColourKey));
    EXPECT_TRUE(picture_.alpha_from_source());
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(255, 0, 128, 0));
    EXPECT_EQ(rgba_at(picture_, 1, 0), rgba(1, 2, 3, 100));
    EXPECT_EQ(rgba_at(picture_, 2, 0), rgba(4, 5, 6, 255));
}

TEST_F(PngDecoderTest, GreyWithAlphaIsRefused) {
    PngLayout grey_alpha{2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8};
    grey_alpha.samples = {10, 255, 20, 0};
    EXPECT_FALSE(decode(grey_alpha));
    EXPECT_TRUE(testing::is_reset(picture_));

    // A transparent grey level makes two channels as well.
    PngLayout keyed_grey{2, 1, PNG_COLOR_TYPE_GRAY, 8};
    keyed_grey.samples = {10, 20};
    keyed_grey.transparent_grey = 10;
    EXPECT_FALSE(decode(keyed_grey));
    EXPECT_TRUE(testing::is_reset(picture_));
}

TEST_F(PngDecoderTest, InterlacedDecodesLikeProgressive) {
    PngLayout layout{13, 11, PNG_COLOR_TYPE_RGB, 8};
    for (uint32_t i = 0; i < 13 * 11 * 3; ++i)
        layout.samples.push_back(static_cast<uint8_t>(i * 7));
    ASSERT_TRUE(decode(layout));
    ImageBuffer progressive = std::move(picture_);
    layout.interlaced = true;
    ASSERT_TRUE(decode(layout));
    ASSERT_EQ(picture_.byte_count(), progressive.byte_count());
    EXPECT_EQ(0, std::memcmp(picture_.pixels(), progressive.pixels(), picture_.byte_count()));
}

TEST_F(PngDecoderTest, ReadsVirtualFiles) {
    PngLayout layout{1, 1, PNG_COLOR_TYPE_RGB, 8};
    layout.samples = {7, 8, 9};
    StreamSource source(StreamKind::kMemory, testing::png_bytes(layout), temp_);
    ASSERT_TRUE(decode_png(source.name().c_str(), kNoColourKey, picture_));
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(7, 8, 9, 255));
}

PngLayout small_rgba() {
    PngLayout layout{6, 5, PNG_COLOR_TYPE_RGB_ALPHA, 8};
    for (uint32_t i = 0; i < 6 * 5 * 4; ++i)
        layout.samples.push_back(static_cast<uint8_t>(i * 13 + 1));
    return layout;
}

TEST_F(PngDecoderTest, SignatureIsCheckedFirst) {
    std::string bytes = testing::png_bytes(small_rgba());
    bytes[0] = 'x';  // only "PNG" in bytes 1 to 3 is looked at before libpng
    EXPECT_FALSE(decode(bytes));
    bytes = testing::png_bytes(small_rgba());
    bytes[2] = 'n';
    EXPECT_FALSE(decode(bytes));
    EXPECT_FALSE(decode(std::string("\x89PN")));
    EXPECT_TRUE(testing::is_reset(picture_));
}

TEST_F(PngDecoderTest, EveryTruncationFailsAndResets) {
    const std::string bytes = testing::png_bytes(small_rgba());
    for (size_t length = 0; length + 12 < bytes.size(); ++length) {
        EXPECT_FALSE(decode(bytes.substr(0, length))) << length << " bytes";
        EXPECT_TRUE(testing::is_reset(picture_));
    }
}

TEST_F(PngDecoderTest, DamagedChunksFail) {
    const std::string good = testing::png_bytes(small_rgba());
    std::string bad_header_crc = good;
    bad_header_crc[29] ^= 0x40;  // the IHDR checksum
    EXPECT_FALSE(decode(bad_header_crc));

    std::string bad_data = good;
    const size_t data = bad_data.find("IDAT");
    ASSERT_NE(data, std::string::npos);
    for (size_t i = data + 4; i < data + 12; ++i)
        bad_data[i] = static_cast<char>(~bad_data[i]);
    EXPECT_FALSE(decode(bad_data));
    EXPECT_TRUE(testing::is_reset(picture_));
}

TEST_F(PngDecoderTest, ClaimedSizesBeyondTheLimitFail) {
    std::string bytes = testing::png_bytes(small_rgba());
    // IHDR width at 16..19; the checksum over type and data at 29..32 is recomputed.
    auto set_ihdr = [&](uint32_t width, uint32_t height) {
        for (int i = 0; i < 4; ++i) {
            bytes[16 + i] = static_cast<char>(width >> (24 - 8 * i));
            bytes[20 + i] = static_cast<char>(height >> (24 - 8 * i));
        }
        const uint32_t crc =
            png_uint_32(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17));
        for (int i = 0; i < 4; ++i)
            bytes[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    };
    set_ihdr(100000, 1);
    EXPECT_FALSE(decode(bytes));
    EXPECT_EQ(why_, ImageFailure::kTooLarge);
    set_ihdr(16384, 16384);  // allowed either way, but more pixels than any picture may have
    EXPECT_FALSE(decode(bytes));
    EXPECT_EQ(why_, ImageFailure::kTooManyPixels);
    // Allowed sizes, but far more pixels than the file's compressed data can inflate to.
    set_ihdr(16384, 4096);
    EXPECT_FALSE(decode(bytes));
    EXPECT_EQ(why_, ImageFailure::kDamaged);
    set_ihdr(6, 5);
    EXPECT_TRUE(decode(bytes));
}

// One chunk: length, type, data and the checksum over type and data. The length may claim more
// than the data holds.
std::string chunk(const char* type, const std::string& data, uint32_t length) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(length >> (24 - 8 * i));
    bytes += std::string(type, 4) + data;
    const uint32_t crc = png_uint_32(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 4), uInt(4 + data.size())));
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>(crc >> (24 - 8 * i));
    return bytes;
}

TEST_F(PngDecoderTest, ChunksLongerThanTheLimitFail) {
    // A text chunk of 9 MiB, all there, between the header and the image data.
    const std::string good = testing::png_bytes(small_rgba());
    const std::string text = "Comment" + std::string(1, '\0') + std::string(9 << 20, 'x');
    const std::string long_text = good.substr(0, 33) +
                                  chunk("tEXt", text, static_cast<uint32_t>(text.size())) +
                                  good.substr(33);
    StreamSource source(StreamKind::kMemory, long_text, temp_);
    EXPECT_FALSE(decode_png(source.name().c_str(), kNoColourKey, picture_, &why_));
    EXPECT_EQ(why_, ImageFailure::kDamaged);

    // 41 bytes: a valid header and then only the header of a chunk declaring 1.9 GB.
    for (const char* type : {"sPLT", "tEXt", "iTXt", "zTXt", "pCAL", "sCAL", "eXIf"}) {
        const std::string hostile = good.substr(0, 33) + chunk(type, "", 0x71000000).substr(0, 8);
        ASSERT_EQ(hostile.size(), 41u);
        EXPECT_FALSE(decode(hostile)) << type;
        EXPECT_EQ(why_, ImageFailure::kDamaged) << type;
    }
}

TEST_F(PngDecoderTest, QuirksOfChunksThatChangeNoPixelDoNotFail) {
    const std::string good = testing::png_bytes(small_rgba());
    ASSERT_TRUE(decode(good));
    const ImageBuffer plain = std::move(picture_);
    // A gamma chunk of the wrong length and a colour profile that is not one.
    const std::string quirky = good.substr(0, 33) + chunk("gAMA", "abc", 3) +
                               chunk("iCCP", std::string("icc\0\0\x78\x9c\x01\x02", 9), 9) +
                               good.substr(33);
    ASSERT_TRUE(decode(quirky));
    ASSERT_EQ(picture_.byte_count(), plain.byte_count());
    EXPECT_EQ(0, std::memcmp(picture_.pixels(), plain.pixels(), plain.byte_count()));
}

TEST_F(PngDecoderTest, MissingFileFails) {
    EXPECT_FALSE(decode_png(temp_.file("absent.png").c_str(), kNoColourKey, picture_));
    EXPECT_FALSE(decode_png(temp_.path().c_str(), kNoColourKey, picture_));
    EXPECT_TRUE(testing::is_reset(picture_));
}

}  // namespace
}  // namespace vexel
