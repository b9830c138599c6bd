#include <gtest/gtest.h>

#include <cstdlib>

#include <vexel/error.h>

#include "image/colour_value.h"
#include "image/decoder_test_support.h"
#include "image/image_decoders.h"
#include "support/image_files.h"

namespace vexel {
namespace {

using testing::JpegCoding;
using testing::ScopedTempDir;
using testing::StreamKind;
using testing::StreamSource;

// 16 x 16 pixels: the left half one flat colour, the right half another, per component.
std::vector<uint8_t> two_halves(int components, const uint8_t* left, const uint8_t* right) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            for (int c = 0; c < components; ++c)
                samples.push_back(x < 8 ? left[c] : right[c]);
    return samples;
}

void expect_near_pixel(const ImageBuffer& picture, int32_t x, int32_t y,
                       std::initializer_list<int> expected) {
    const uint8_t* p = picture.pixel(x, y);
    int c = 0;
    for (int value : expected) {
        EXPECT_NEAR(p[c], value, 3) << "component " << c << " at " << x << "," << y;
        ++c;
    }
}

class JpegDecoderTest : public ::testing::Test {
protected:
    bool decode(const std::string& bytes) {
        testing::write_file(temp_.file("test.jpg"), bytes);
        return decode_jpeg(temp_.file("test.jpg").c_str(), picture_, &why_);
    }

    ScopedTempDir temp_;
    ImageBuffer picture_ = testing::used_buffer();
    ImageFailure why_ = ImageFailure::kNone;
};

TEST_F(JpegDecoderTest, GreyBecomesOpaqueGrey) {
    const uint8_t left[] = {40};
    const uint8_t right[] = {200};
    ASSERT_TRUE(decode(testing::jpeg_bytes(16, 16, 1, two_halves(1, left, right))));
    EXPECT_EQ(picture_.width(), 16);
    EXPECT_EQ(picture_.height(), 16);
    EXPECT_FALSE(picture_.alpha_from_source());
    expect_near_pixel(picture_, 2, 5, {40, 40, 40, 255});
    expect_near_pixel(picture_, 13, 10, {200, 200, 200, 255});
    const uint8_t* p = picture_.pixel(7, 7);
    EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
}

TEST_F(JpegDecoderTest, RgbBecomesOpaqueRgb) {
    const uint8_t left[] = {255, 0, 128};
    const uint8_t right[] = {20, 160, 90};
    ASSERT_TRUE(decode(testing::jpeg_bytes(16, 16, 3, two_halves(3, left, right))));
    EXPECT_FALSE(picture_.alpha_from_source());
    expect_near_pixel(picture_, 1, 1, {255, 0, 128, 255});
    expect_near_pixel(picture_, 14, 14, {20, 160, 90, 255});
}

TEST_F(JpegDecoderTest, FourComponentsBecomeRgba) {
    const uint8_t left[] = {10, 100, 200, 50};
    const uint8_t right[] = {250, 150, 50, 220};
    ASSERT_TRUE(decode(testing::jpeg_bytes(16, 16, 4, two_halves(4, left, right))));
    EXPECT_TRUE(picture_.alpha_from_source());
    expect_near_pixel(picture_, 3, 12, {10, 100, 200, 50});
    expect_near_pixel(picture_, 12, 3, {250, 150, 50, 220});
}

TEST_F(JpegDecoderTest, OtherComponentCountsFailWithALogLine) {
    const uint8_t left[] = {10, 20};
    const uint8_t right[] = {30, 40};
    EXPECT_FALSE(decode(testing::jpeg_bytes(16, 16, 2, two_halves(2, left, right))));
    EXPECT_TRUE(testing::is_reset(picture_));
    EXPECT_NE(testing::read_file(error_log_path()).find("JPEG: Channels: 2 not supported!\n"),
              std::string::npos);
}

TEST_F(JpegDecoderTest, ReadsVirtualFiles) {
    const uint8_t grey[] = {77};
    StreamSource source(StreamKind::kMemory,
                        testing::jpeg_bytes(16, 16, 1, two_halves(1, grey, grey)), temp_);
    ASSERT_TRUE(decode_jpeg(source.name().c_str(), picture_));
    expect_near_pixel(picture_, 8, 8, {77, 77, 77, 255});
}

TEST_F(JpegDecoderTest, TruncatedFilesFailWithoutEndingTheProcess) {
    const uint8_t left[] = {255, 0, 128};
    const uint8_t right[] = {20, 160, 90};
    const std::string bytes = testing::jpeg_bytes(16, 16, 3, two_halves(3, left, right));
    for (size_t length = 0; length < bytes.size() - 2; length += 7) {
        EXPECT_FALSE(decode(bytes.substr(0, length))) << length << " bytes";
        EXPECT_TRUE(testing::is_reset(picture_));
    }
}

TEST_F(JpegDecoderTest, MalformedFilesFail) {
    const uint8_t grey[] = {90};
    std::string bytes = testing::jpeg_bytes(16, 16, 1, two_halves(1, grey, grey));
    EXPECT_FALSE(decode("this is a text file, not a picture\n"));
    EXPECT_FALSE(decode(std::string("\xFF\xD8\xFF\xD9", 4)));  // start and end, nothing else

    std::string no_frame = bytes;
    const size_t frame = no_frame.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    no_frame[frame + 1] = static_cast<char>(0xCF);  // a frame type no decoder implements
    EXPECT_FALSE(decode(no_frame));

    std::string zero_size = bytes;
    zero_size[frame + 5] = zero_size[frame + 6] = 0;  // height 0
    EXPECT_FALSE(decode(zero_size));

    // Noise in the coded data: the decode may fail or give some 16 x 16 picture, but it never
    // crashes, never ends the process and never leaves a half-filled buffer.
    const size_t scan = bytes.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    std::srand(5);
    for (int round = 0; round < 40; ++round) {
        std::string noisy = bytes;
        for (size_t i = scan + 14; i + 2 < noisy.size(); ++i)
            if (std::rand() % 4 == 0) noisy[i] = static_cast<char>(std::rand());
        if (decode(noisy)) {
            EXPECT_EQ(picture_.width(), 16);
            EXPECT_EQ(picture_.height(), 16);
        } else {
            EXPECT_TRUE(testing::is_reset(picture_));
        }
    }
}

std::vector<uint8_t> noise(size_t count) {
    std::vector<uint8_t> samples(count);
    uint32_t seed = 7;
    for (uint8_t& sample : samples) {
        seed = seed * 1103515245 + 12345;
        sample = static_cast<uint8_t>(seed >> 24);
    }
    return samples;
}

TEST_F(JpegDecoderTest, DataEndingBeforeTheLastScanLineFails) {
    for (JpegCoding coding : {JpegCoding::kBaseline, JpegCoding::kProgressive}) {
        const std::string whole = testing::jpeg_bytes(64, 64, 3, noise(64 * 64 * 3), 95, coding);
        ASSERT_TRUE(decode(whole));
        // Cut in half with the end marker put back, the library would make the rest grey.
        EXPECT_FALSE(decode(whole.substr(0, whole.size() / 2) + "\xFF\xD9"));
        EXPECT_EQ(why_, ImageFailure::kDamaged);
        EXPECT_TRUE(testing::is_reset(picture_));
    }
}

TEST_F(JpegDecoderTest, HarmlessWarningsDoNotFail) {
    const uint8_t grey[] = {90};
    std::string bytes = testing::jpeg_bytes(16, 16, 1, two_halves(1, grey, grey));
    const size_t tables = bytes.find("\xFF\xDB");
    ASSERT_NE(tables, std::string::npos);
    bytes.insert(tables, "\x12\x34\x56");  // stray bytes before a marker
    ASSERT_TRUE(decode(bytes));
    EXPECT_EQ(why_, ImageFailure::kNone);
    expect_near_pixel(picture_, 4, 4, {90, 90, 90, 255});
}

// A flat grey picture whose frame header is rewritten to claim other sizes.
std::string claiming(uint32_t width, uint32_t height, JpegCoding coding) {
    std::string bytes = testing::jpeg_bytes(8, 8, 1, std::vector<uint8_t>(64, 128), 50, coding);
    const size_t frame = bytes.find(coding == JpegCoding::kProgressive ? "\xFF\xC2" : "\xFF\xC0");
    bytes[frame + 5] = static_cast<char>(height >> 8);
    bytes[frame + 6] = static_cast<char>(height);
    bytes[frame + 7] = static_cast<char>(width >> 8);
    bytes[frame + 8] = static_cast<char>(width);
    return bytes;
}

TEST_F(JpegDecoderTest, SizesTheDataCannotHoldFail) {
    for (JpegCoding coding : {JpegCoding::kBaseline, JpegCoding::kProgressive}) {
        EXPECT_FALSE(decode(claiming(16384, 4096, coding)));
        EXPECT_EQ(why_, ImageFailure::kDamaged);
        EXPECT_FALSE(decode(claiming(512, 512, coding)));
        EXPECT_EQ(why_, ImageFailure::kDamaged);
        // Large flat pictures that really are in the file still decode.
        const std::vector<uint8_t> flat(2048 * 1024, 77);
        ASSERT_TRUE(decode(testing::jpeg_bytes(2048, 1024, 1, flat, 50, coding)));
        expect_near_pixel(picture_, 2047, 1023, {77, 77, 77, 255});
    }
}

TEST_F(JpegDecoderTest, ArithmeticCodingIsRefused) {
    const uint8_t grey[] = {90};
    const auto samples = two_halves(1, grey, grey);
    EXPECT_FALSE(decode(testing::jpeg_bytes(16, 16, 1, samples, 95, JpegCoding::kArithmetic)));
    EXPECT_EQ(why_, ImageFailure::kUnsupported);
}

TEST_F(JpegDecoderTest, MissingFileAndDirectoryFail) {
    EXPECT_FALSE(decode_jpeg(temp_.file("absent.jpg").c_str(), picture_));
    EXPECT_FALSE(decode_jpeg(temp_.path().c_str(), picture_));
    EXPECT_FALSE(decode(""));
    EXPECT_TRUE(testing::is_reset(picture_));
}

}  // namespace
}  // namespace vexel
