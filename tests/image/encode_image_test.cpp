#include <gtest/gtest.h>

#include <cstring>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <filesystem>

#include "image/colour_value.h"
#include "image/decoder_test_support.h"
#include "image/image_decoders.h"
#include "image/image_encoders.h"
#include "io/virtual_files.h"

namespace vexel {
namespace {

using testing::rgba;
using testing::rgba_at;
using testing::ScopedTempDir;

// 5 x 3: opaque colours, one fully transparent pixel and one half-transparent pixel.
ImageBuffer sample_picture() {
    ImageBuffer picture;
    picture.size_for(5, 3);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = static_cast<uint8_t>(40 * x + 5);
            p[1] = static_cast<uint8_t>(70 * y + 3);
            p[2] = static_cast<uint8_t>(x * y * 9);
            p[3] = 255;
        }
    }
    picture.pixel(1, 1)[3] = 0;
    picture.pixel(3, 2)[3] = 128;
    return picture;
}

uint32_t u32_at(const std::string& bytes, size_t at) {
    return uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8 | uint8_t(bytes[at + 2]) << 16 |
           uint32_t(uint8_t(bytes[at + 3])) << 24;
}

TEST(ImageFormatTest, NameEndingChoosesTheFormat) {
    EXPECT_EQ(image_format_for_name("shot.PNG"), ImageFileFormat::kPng);
    EXPECT_EQ(image_format_for_name("a.pNg"), ImageFileFormat::kPng);
    EXPECT_EQ(image_format_for_name(".png"), ImageFileFormat::kBmp);  // too short for PNG
    EXPECT_EQ(image_format_for_name("shot.Jpg"), ImageFileFormat::kJpeg);
    EXPECT_EQ(image_format_for_name("shotjpg"), ImageFileFormat::kJpeg);
    EXPECT_EQ(image_format_for_name("shot.jpeg"), ImageFileFormat::kBmp);
    EXPECT_EQ(image_format_for_name("shot.tga"), ImageFileFormat::kBmp);
    EXPECT_EQ(image_format_for_name("xpng"), ImageFileFormat::kBmp);
    EXPECT_EQ(image_format_for_name(""), ImageFileFormat::kBmp);
}

class EncodeImageTest : public ::testing::Test {
protected:
    ScopedTempDir temp_;
    ImageBuffer picture_ = sample_picture();
};

TEST_F(EncodeImageTest, PngKeepsEveryByte) {
    const std::string name = temp_.file("shot.PNG");
    ASSERT_TRUE(encode_image(name.c_str(), picture_));
    ImageBuffer loaded;
    ASSERT_TRUE(decode_png(name.c_str(), kDefaultSpriteColourKey, loaded));
    ASSERT_EQ(loaded.byte_count(), picture_.byte_count());
    EXPECT_EQ(0, std::memcmp(loaded.pixels(), picture_.pixels(), size_t(loaded.byte_count())));
    EXPECT_TRUE(loaded.alpha_from_source());
}

TEST_F(EncodeImageTest, JpegKeepsColoursCloselyAndDropsAlpha) {
    ImageBuffer flat;
    flat.size_for(16, 16);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            uint8_t* p = flat.pixel(x, y);
            p[0] = 200;
            p[1] = 100;
            p[2] = 50;
            p[3] = x < 8 ? 255 : 0;
        }
    }
    const std::string name = temp_.file("shot.Jpg");
    ASSERT_TRUE(encode_image(name.c_str(), flat));
    const std::string bytes = testing::read_file(name);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    ImageBuffer loaded;
    ASSERT_TRUE(decode_jpeg(name.c_str(), loaded));
    ASSERT_EQ(loaded.width(), 16);
    for (int32_t x : {0, 12}) {
        const uint8_t* p = loaded.pixel(x, 9);
        EXPECT_NEAR(p[0], 200, 3);
        EXPECT_NEAR(p[1], 100, 3);
        EXPECT_NEAR(p[2], 50, 3);
        EXPECT_EQ(p[3], 255);
    }
}

TEST_F(EncodeImageTest, JpegIsBaselineAtQualityEighty) {
    const std::string name = temp_.file("q.jpg");
    ASSERT_TRUE(encode_jpeg(name.c_str(), picture_));
    const std::string bytes = testing::read_file(name);
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos);  // baseline frame
    // Quality 80 scales the standard luminance table by 40 %: its first entry 16 becomes 6.
    const size_t table = bytes.find("\xFF\xDB");
    ASSERT_NE(table, std::string::npos);
    EXPECT_EQ(uint8_t(bytes[table + 5]), 6);
}

TEST_F(EncodeImageTest, BmpHeaderAndRows) {
    const std::string name = temp_.file("shot.tga");
    ASSERT_TRUE(encode_image(name.c_str(), picture_));
    const std::string bytes = testing::read_file(name);
    const uint32_t row_size = 16;  // 5 x 3 bytes rounded up to a multiple of 4
    ASSERT_EQ(bytes.size(), 54 + row_size * 3);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(u32_at(bytes, 2), 54 + row_size * 3);
    EXPECT_EQ(u32_at(bytes, 6), 0u);
    EXPECT_EQ(u32_at(bytes, 10), 54u);
    EXPECT_EQ(u32_at(bytes, 14), 40u);
    EXPECT_EQ(u32_at(bytes, 18), 5u);
    EXPECT_EQ(u32_at(bytes, 22), 3u);
    EXPECT_EQ(u32_at(bytes, 26), 1u | 24u << 16);
    EXPECT_EQ(u32_at(bytes, 30), 0u);
    EXPECT_EQ(u32_at(bytes, 34), 0u);
    EXPECT_EQ(u32_at(bytes, 38), 10000u);
    EXPECT_EQ(u32_at(bytes, 42), 10000u);
    EXPECT_EQ(u32_at(bytes, 46), 0u);
    EXPECT_EQ(u32_at(bytes, 50), 0u);
    // The first stored row is the picture's bottom row, pixels as B, G, R.
    const uint8_t* bottom_left = picture_.pixel(0, 2);
    EXPECT_EQ(uint8_t(bytes[54]), bottom_left[2]);
    EXPECT_EQ(uint8_t(bytes[55]), bottom_left[1]);
    EXPECT_EQ(uint8_t(bytes[56]), bottom_left[0]);
    // The half-transparent pixel (3, 2) is written in the key colour.
    EXPECT_EQ(bytes.substr(54 + 9, 3), std::string("\x80\x00\xFF", 3));
}

TEST_F(EncodeImageTest, BmpReloadRestoresTransparencyThroughTheKey) {
    const std::string name = temp_.file("keyed.bmp");
    ASSERT_TRUE(encode_image(name.c_str(), picture_));
    ImageBuffer loaded;
    ASSERT_TRUE(decode_bmp(name.c_str(), kDefaultSpriteColourKey, loaded));
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            if (picture_.pixel(x, y)[3] == 255)
                EXPECT_EQ(rgba_at(loaded, x, y), rgba_at(picture_, x, y)) << x << "," << y;
            else
                EXPECT_EQ(rgba_at(loaded, x, y), rgba(0, 0, 0, 0)) << x << "," << y;
        }
    }
    ASSERT_TRUE(decode_bmp(name.c_str(), kNoColourKey, loaded));
    EXPECT_EQ(rgba_at(loaded, 1, 1), rgba(255, 0, 128, 255));
}

TEST_F(EncodeImageTest, ExistingFileIsReplacedAndAnEmptyDirectoryRemoved) {
    const std::string name = temp_.file("old.png");
    testing::write_file(name, std::string(100000, 'x'));
    ASSERT_TRUE(encode_image(name.c_str(), picture_));
    ImageBuffer loaded;
    EXPECT_TRUE(decode_png(name.c_str(), kNoColourKey, loaded));

    const std::string folder = temp_.file("folder.bmp");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0700));
    ASSERT_TRUE(encode_image(folder.c_str(), picture_));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder));
}

TEST_F(EncodeImageTest, VirtualAndUnreachableNamesFail) {
    MemoryFile memory("abcd", 4);
    for (const char* ending : {"", ".png", ".jpg"}) {
        const std::string name = memory.name() + ending;
        EXPECT_FALSE(encode_image(name.c_str(), picture_)) << name;
        EXPECT_FALSE(encode_image(("mem://x" + std::string(ending)).c_str(), picture_));
        const std::string unreachable = temp_.file("no/such/folder/shot") + ending;
        EXPECT_FALSE(encode_image(unreachable.c_str(), picture_)) << unreachable;
    }
}

TEST_F(EncodeImageTest, EmptyPictureIsNotWritten) {
    for (const char* name : {"empty.png", "empty.jpg", "empty.bmp"}) {
        EXPECT_FALSE(encode_image(temp_.file(name).c_str(), ImageBuffer()));
        EXPECT_FALSE(std::filesystem::exists(temp_.file(name)));
    }
}

// Files may not grow beyond a few bytes while it lives, so every write past them fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previous_signal_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previous_signal_);
    }

private:
    rlimit previous_{};
    void (*previous_signal_)(int) = nullptr;
};

TEST_F(EncodeImageTest, WriteFailuresAreReported) {
    ImageBuffer large;
    large.size_for(300, 300);
    for (int32_t i = 0; i < 300 * 300; ++i)
        large.pixels()[i * 4] = static_cast<uint8_t>(i * 7919 >> 3);
    FileSizeLimit limit(1000);
    EXPECT_FALSE(encode_png(temp_.file("big.png").c_str(), large));
    EXPECT_FALSE(encode_jpeg(temp_.file("big.jpg").c_str(), large));
    EXPECT_FALSE(encode_bmp(temp_.file("big.bmp").c_str(), large));
}

}  // namespace
}  // namespace vexel
