#include <gtest/gtest.h>

#include <tuple>

#include "image/colour_value.h"
#include "image/decoder_test_support.h"
#include "image/image_decoders.h"
#include "support/image_files.h"

namespace vexel {
namespace {

using testing::bmp_bytes;
using testing::BmpLayout;
using testing::rgba;
using testing::rgba_at;
using testing::ScopedTempDir;
using testing::StreamKind;
using testing::StreamSource;

const std::array<uint8_t, 3> kPalette16[16] = {
    {0, 0, 0},       {255, 0, 0},     {0, 255, 0},     {0, 0, 255},
    {255, 255, 0},   {0, 255, 255},   {255, 0, 255},   {10, 20, 30},
    {40, 50, 60},    {70, 80, 90},    {100, 110, 120}, {130, 140, 150},
    {160, 170, 180}, {190, 200, 210}, {220, 230, 240}, {250, 245, 235}};

// A 9 x 3 picture whose every pixel differs from its neighbours, in the given form. Nine
// columns make the 1- and 4-bit rows end inside a byte and need padding.
BmpLayout test_picture(uint32_t header_size, uint32_t bits, bool top_down) {
    BmpLayout layout;
    layout.header_size = header_size;
    layout.bit_count = bits;
    layout.width = 9;
    layout.height = 3;
    layout.top_down = top_down;
    if (bits <= 8) {
        const uint32_t entries = bits == 1 ? 2 : 16;
        layout.palette.assign(kPalette16, kPalette16 + entries);
    }
    for (int32_t y = 0; y < layout.height; ++y) {
        for (int32_t x = 0; x < layout.width; ++x) {
            const uint32_t n = uint32_t(y * layout.width + x);
            if (bits == 1)
                layout.values.push_back((x + y) % 2);
            else if (bits <= 8)
                layout.values.push_back(n % 16);
            else if (bits == 16)
                layout.values.push_back((n * 3 % 32) << 10 | (n * 5 % 32) << 5 | (31 - n));
            else
                layout.values.push_back((n * 28) << 16 | (255 - n * 7) << 8 | n * 3);
        }
    }
    return layout;
}

std::string expected_pixel(const BmpLayout& layout, int32_t x, int32_t y) {
    const uint32_t v = layout.values[size_t(y) * layout.width + x];
    if (layout.bit_count <= 8) {
        const auto& entry = layout.palette[v];
        return rgba(entry[0], entry[1], entry[2], 255);
    }
    if (layout.bit_count == 16) {
        return rgba(uint8_t((v >> 10 & 31) * 255 / 31), uint8_t((v >> 5 & 31) * 255 / 31),
                    uint8_t((v & 31) * 255 / 31), 255);
    }
    return rgba(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), 255);
}

using FormCase = std::tuple<uint32_t, uint32_t, bool, StreamKind>;

class BmpFormTest : public ::testing::TestWithParam<FormCase> {
protected:
    ScopedTempDir temp_;
};

TEST_P(BmpFormTest, DecodesEveryPixelUpright) {
    const auto [header_size, bits, top_down, kind] = GetParam();
    const BmpLayout layout = test_picture(header_size, bits, top_down);
    StreamSource source(kind, bmp_bytes(layout), temp_, "picture.bmp");
    ImageBuffer picture = testing::used_buffer();
    ASSERT_TRUE(decode_bmp(source.name().c_str(), kNoColourKey, picture));
    EXPECT_EQ(picture.width(), 9);
    EXPECT_EQ(picture.height(), 3);
    EXPECT_FALSE(picture.alpha_from_source());
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 9; ++x)
            EXPECT_EQ(rgba_at(picture, x, y), expected_pixel(layout, x, y)) << x << "," << y;
}

TEST_P(BmpFormTest, FailsWhenAnyByteOfThePixelsIsMissing) {
    const auto [header_size, bits, top_down, kind] = GetParam();
    std::string bytes = bmp_bytes(test_picture(header_size, bits, top_down));
    bytes.pop_back();
    StreamSource source(kind, bytes, temp_, "short.bmp");
    ImageBuffer picture = testing::used_buffer();
    EXPECT_FALSE(decode_bmp(source.name().c_str(), kNoColourKey, picture));
    EXPECT_TRUE(testing::is_reset(picture));
}

std::string form_name(const ::testing::TestParamInfo<FormCase>& info) {
    const auto [header_size, bits, top_down, kind] = info.param;
    return (header_size == 12 ? std::string("Core") : std::string("Info")) + std::to_string(bits) +
           "Bit" + (top_down ? "TopDown" : "BottomUp") + testing::stream_kind_name(kind);
}

INSTANTIATE_TEST_SUITE_P(
    CoreHeader, BmpFormTest,
    ::testing::Combine(::testing::Values(12u), ::testing::Values(1u, 4u, 8u, 16u, 24u, 32u),
                       ::testing::Values(false),
                       ::testing::Values(StreamKind::kDisk, StreamKind::kMemory)),
    form_name);
INSTANTIATE_TEST_SUITE_P(
    InfoHeader, BmpFormTest,
    ::testing::Combine(::testing::Values(40u), ::testing::Values(1u, 4u, 8u, 16u, 24u, 32u),
                       ::testing::Bool(),
                       ::testing::Values(StreamKind::kDisk, StreamKind::kMemory)),
    form_name);

class BmpDecoderTest : public ::testing::Test {
protected:
    bool decode(const std::string& bytes, int32_t key = kNoColourKey) {
        testing::write_file(temp_.file("test.bmp"), bytes);
        return decode_bmp(temp_.file("test.bmp").c_str(), key, picture_);
    }
    bool decode(const BmpLayout& layout, int32_t key = kNoColourKey) {
        return decode(bmp_bytes(layout), key);
    }

    ScopedTempDir temp_;
    ImageBuffer picture_ = testing::used_buffer();
};

TEST_F(BmpDecoderTest, RowSizesFollowTheBitCount) {
    // 4 bits x 9 pixels = 36 bits: rows of 8 bytes; 1 bit x 1 pixel: rows of 4 bytes.
    BmpLayout four = test_picture(40, 4, false);
    EXPECT_EQ(bmp_bytes(four).size(), 14u + 40 + 16 * 4 + 3 * 8);
    ASSERT_TRUE(decode(four));

    BmpLayout one;
    one.bit_count = 1;
    one.width = 1;
    one.height = 2;
    one.palette = {{1, 2, 3}, {4, 5, 6}};
    one.values = {1, 0};
    EXPECT_EQ(bmp_bytes(one).size(), 14u + 40 + 2 * 4 + 2 * 4);
    ASSERT_TRUE(decode(one));
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(4, 5, 6, 255));
    EXPECT_EQ(rgba_at(picture_, 0, 1), rgba(1, 2, 3, 255));
}

TEST_F(BmpDecoderTest, KeyColouredPixelsBecomeTransparentBlack) {
    BmpLayout layout;
    layout.width = 3;
    layout.height = 1;
    layout.values = {0xFF0080, 0xFF0081, 0x000000};
    ASSERT_TRUE(decode(layout, kDefaultSpriteColourKey));
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(0, 0, 0, 0));
    EXPECT_EQ(rgba_at(picture_, 1, 0), rgba(255, 0, 129, 255));
    EXPECT_EQ(rgba_at(picture_, 2, 0), rgba(0, 0, 0, 255));

    ASSERT_TRUE(decode(layout, kNoColourKey));
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(255, 0, 128, 255));

    ASSERT_TRUE(decode(layout, 0));  // black as the key
    EXPECT_EQ(rgba_at(picture_, 2, 0), rgba(0, 0, 0, 0));
}

TEST_F(BmpDecoderTest, KeyAppliesToPaletteColoursToo) {
    BmpLayout layout = test_picture(40, 8, false);
    ASSERT_TRUE(decode(layout, colour_value(255, 0, 0)));
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 9; ++x) {
            const bool keyed = layout.values[size_t(y) * 9 + x] == 1;
            EXPECT_EQ(picture_.pixel(x, y)[3], keyed ? 0 : 255);
        }
    }
}

TEST_F(BmpDecoderTest, IndexBeyondTheStoredPaletteIsBlack) {
    BmpLayout layout;
    layout.bit_count = 8;
    layout.width = 3;
    layout.height = 1;
    layout.palette = {{9, 8, 7}, {6, 5, 4}};
    layout.values = {1, 2, 255};
    ASSERT_TRUE(decode(layout));
    EXPECT_EQ(rgba_at(picture_, 0, 0), rgba(6, 5, 4, 255));
    EXPECT_EQ(rgba_at(picture_, 1, 0), rgba(0, 0, 0, 255));
    EXPECT_EQ(rgba_at(picture_, 2, 0), rgba(0, 0, 0, 255));
}

TEST_F(BmpDecoderTest, CorePaletteMayBeShorterThanItsBitCountAllows) {
    // The pixel data starts where the header says, whatever the palette length.
    BmpLayout layout = test_picture(12, 8, false);
    layout.palette.resize(12);
    for (uint32_t& v : layout.values)
        v %= 12;
    ASSERT_TRUE(decode(layout));
    for (int32_t x = 0; x < 9; ++x)
        EXPECT_EQ(rgba_at(picture_, x, 0), expected_pixel(layout, x, 0));
}

TEST_F(BmpDecoderTest, PaletteIndexedWithoutPaletteFails) {
    for (uint32_t bits : {1u, 4u, 8u}) {
        for (uint32_t header : {12u, 40u}) {
            BmpLayout layout = test_picture(header, bits, false);
            layout.palette.clear();
            EXPECT_FALSE(decode(layout)) << bits << " bits, header " << header;
            EXPECT_TRUE(testing::is_reset(picture_));
        }
    }
}

TEST_F(BmpDecoderTest, UnsupportedHeadersAndBitCountsFail) {
    for (uint32_t header : {0u, 16u, 56u, 64u, 108u, 124u}) {
        BmpLayout layout = test_picture(40, 24, false);
        layout.header_size = header;
        EXPECT_FALSE(decode(layout)) << "header " << header;
    }
    for (uint32_t bits : {0u, 2u, 3u, 15u, 48u, 64u}) {
        BmpLayout layout = test_picture(40, 24, false);
        layout.bit_count = bits;
        EXPECT_FALSE(decode(layout)) << bits << " bits";
        EXPECT_TRUE(testing::is_reset(picture_));
    }
}

TEST_F(BmpDecoderTest, SignatureMustBeBM) {
    std::string bytes = bmp_bytes(test_picture(40, 24, false));
    for (const char* signature : {"MB", "BA", "bm", "\0\0"}) {
        bytes[0] = signature[0];
        bytes[1] = signature[1];
        EXPECT_FALSE(decode(bytes)) << signature;
    }
}

TEST_F(BmpDecoderTest, EveryTruncationFailsAndResets) {
    const std::string bytes = bmp_bytes(test_picture(40, 8, true));
    for (size_t length = 0; length < bytes.size(); ++length) {
        EXPECT_FALSE(decode(bytes.substr(0, length))) << length << " bytes";
        EXPECT_TRUE(testing::is_reset(picture_));
    }
}

TEST_F(BmpDecoderTest, ClaimedSizesAreCheckedAgainstTheFile) {
    // A 54-byte file that claims 16000 x 16000 pixels, and sizes beyond any texture.
    BmpLayout layout;
    layout.width = 0;
    layout.height = 0;
    std::string bytes = bmp_bytes(layout);
    auto patch32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    patch32(18, 16000);
    patch32(22, 16000);
    EXPECT_FALSE(decode(bytes));
    patch32(18, 0x7FFFFFFF);
    patch32(22, 0x80000000u);  // the most negative height: top-down and enormous
    EXPECT_FALSE(decode(bytes));
    patch32(18, 0xFFFFFFFFu);  // negative width
    patch32(22, 1);
    EXPECT_FALSE(decode(bytes));
    patch32(18, 40000);
    EXPECT_FALSE(decode(bytes));
    EXPECT_TRUE(testing::is_reset(picture_));
}

TEST_F(BmpDecoderTest, HugeOffsetFails) {
    std::string bytes = bmp_bytes(test_picture(40, 24, false));
    bytes[10] = bytes[11] = bytes[12] = static_cast<char>(0xFF);
    bytes[13] = 0x7F;
    EXPECT_FALSE(decode(bytes));
}

TEST_F(BmpDecoderTest, ZeroSizedPictureDecodesEmpty) {
    BmpLayout layout;
    layout.width = 0;
    layout.height = 5;
    ASSERT_TRUE(decode(layout));
    EXPECT_EQ(picture_.width(), 0);
    EXPECT_EQ(picture_.height(), 5);
}

TEST_F(BmpDecoderTest, CompressedRowsAreNotReadAsPlainRows) {
    for (uint32_t compression : {1u, 2u, 4u, 5u, 6u}) {
        BmpLayout layout = test_picture(40, 8, false);
        layout.compression = compression;
        EXPECT_FALSE(decode(layout)) << "compression " << compression;
    }
}

TEST_F(BmpDecoderTest, BitFieldsAreReadOnlyInThePlainLayout) {
    auto masks = [](uint32_t r, uint32_t g, uint32_t b) {
        std::vector<uint8_t> bytes;
        for (uint32_t v : {r, g, b})
            for (int i = 0; i < 4; ++i)
                bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return bytes;
    };
    BmpLayout sixteen = test_picture(40, 16, false);
    sixteen.compression = 3;
    sixteen.after_header = masks(0x7C00, 0x03E0, 0x001F);
    ASSERT_TRUE(decode(sixteen));
    EXPECT_EQ(rgba_at(picture_, 4, 1), expected_pixel(sixteen, 4, 1));
    sixteen.after_header = masks(0xF800, 0x07E0, 0x001F);
    EXPECT_FALSE(decode(sixteen));

    BmpLayout thirty_two = test_picture(40, 32, true);
    thirty_two.compression = 3;
    thirty_two.after_header = masks(0xFF0000, 0xFF00, 0xFF);
    ASSERT_TRUE(decode(thirty_two));
    EXPECT_EQ(rgba_at(picture_, 8, 2), expected_pixel(thirty_two, 8, 2));
    thirty_two.after_header = masks(0xFF, 0xFF00, 0xFF0000);
    EXPECT_FALSE(decode(thirty_two));
    thirty_two.after_header.clear();
    EXPECT_FALSE(decode(thirty_two));
}

TEST_F(BmpDecoderTest, FourthByteOf32BitPixelsIsIgnored) {
    BmpLayout layout = test_picture(40, 32, false);
    layout.fourth_byte = 0;
    ASSERT_TRUE(decode(layout));
    EXPECT_EQ(picture_.pixel(3, 1)[3], 255);
}

TEST_F(BmpDecoderTest, MissingFileAndDirectoryFail) {
    EXPECT_FALSE(decode_bmp(temp_.file("absent.bmp").c_str(), kNoColourKey, picture_));
    EXPECT_FALSE(decode_bmp(temp_.path().c_str(), kNoColourKey, picture_));
    EXPECT_FALSE(decode_bmp("", kNoColourKey, picture_));
    EXPECT_TRUE(testing::is_reset(picture_));
}

}  // namespace
}  // namespace vexel
