#include <gtest/gtest.h>

#include <cstdlib>

#include <vexel/error.h>

#include "image/colour_value.h"
#include "image/decoder_test_support.h"
#include "image/image_decoders.h"
#include "support/image_files.h"

namespace vexel {
namespace {

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
        return decode_jpeg(temp_.file("test.jpg").c_str(), picture_);
    }

    ScopedTempDir temp_;
    ImageBuffer picture_ = testing::used_buffer();
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

TEST_F(JpegDecoderTest, MissingFileAndDirectoryFail) {
    EXPECT_FALSE(decode_jpeg(temp_.file("absent.jpg").c_str(), picture_));
    EXPECT_FALSE(decode_jpeg(temp_.path().c_str(), picture_));
    EXPECT_FALSE(decode(""));
    EXPECT_TRUE(testing::is_reset(picture_));
}

}  // namespace
}  // namespace vexel
