#include <gtest/gtest.h>

#include <filesystem>

#include <png.h>

#include <vexel/draw.h>
#include <vexel/error.h>
#include <vexel/fonts.h>
#include <vexel/sprites.h>

#include "gfx2d/gl_test_support.h"
#include "gfx2d/texture_store.h"
#include "image/colour_value.h"
#include "image/image_decoders.h"
#include "io/virtual_files.h"
#include "platform/opengl_duderedi.h"
#include "support/headless_engine.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::ScopedTempDir;

// 4 x 4 in 24 bits: the ring of 12 border pixels grey, the inner 2 x 2 block red, green, blue
// and the sprite colour key.
std::string keyed_bmp() {
    testing::BmpLayout layout;
    layout.width = 4;
    layout.height = 4;
    layout.values.assign(16, 0x404040);
    layout.values[5] = 0xFF0000;
    layout.values[6] = 0x00FF00;
    layout.values[9] = 0x0000FF;
    layout.values[10] = 0xFF0080;
    return testing::bmp_bytes(layout);
}

class ImagePixelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::write_file(temp_.file("keyed.bmp"), keyed_bmp());
        name_ = temp_.file("keyed.bmp").c_str();
    }
    void TearDown() override { delete_texture_store(); }

    ScopedTempDir temp_;
    DynString name_;
    ExactIntArray pixels_;
    int32_t width_ = -1;
    int32_t height_ = -1;
};

TEST_F(ImagePixelsTest, KeyedPixelTakesItsInnerNeighboursMean) {
    ASSERT_TRUE(load_image_pixels(name_, width_, height_, pixels_));
    EXPECT_EQ(width_, 4);
    EXPECT_EQ(height_, 4);
    ASSERT_EQ(pixels_.count(), 16);
    EXPECT_EQ(pixels_.at(5), static_cast<int32_t>(0xFF0000FFu));  // red, opaque
    // (2, 2) was the key: transparent, coloured with the mean of red, green and blue (the
    // inner neighbours; the grey ring lies on the border and does not count).
    EXPECT_EQ(pixels_.at(10), 85 + 85 * 256 + 85 * 65536);
    EXPECT_EQ(pixels_.at(0), static_cast<int32_t>(0xFF404040u));
}

TEST_F(ImagePixelsTest, NoKeyMeansNothingBecomesTransparent) {
    set_colour_key(-1);
    EXPECT_EQ(texture_store().sprite_colour_key, -1);
    EXPECT_EQ(texture_store().font_colour_key, -1);
    ASSERT_TRUE(load_image_pixels(name_, width_, height_, pixels_));
    EXPECT_EQ(pixels_.at(10), static_cast<int32_t>(0xFF8000FFu));
}

TEST_F(ImagePixelsTest, KeysStartAtTheirDefaults) {
    EXPECT_EQ(texture_store().sprite_colour_key, 255 + 128 * 65536);
    EXPECT_EQ(texture_store().font_colour_key, 0);
    set_colour_key(0x00FF00);
    ASSERT_TRUE(load_image_pixels(name_, width_, height_, pixels_));
    EXPECT_EQ(static_cast<uint32_t>(pixels_.at(6)) >> 24, 0u);
    EXPECT_EQ(static_cast<uint32_t>(pixels_.at(10)) >> 24, 255u);
}

TEST_F(ImagePixelsTest, UnresolvableNameSetsNoSuchFile) {
    set_error(0);
    EXPECT_FALSE(load_image_pixels(temp_.file("absent.bmp").c_str(), width_, height_, pixels_));
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(width_, -1);
}

TEST_F(ImagePixelsTest, UndecodableFileLeavesTheLastErrorAlone) {
    testing::write_file(temp_.file("notes.txt"), "plain text");
    set_error(20);
    EXPECT_FALSE(load_image_pixels(temp_.file("notes.txt").c_str(), width_, height_, pixels_));
    EXPECT_EQ(last_error_code(), 20);
}

TEST_F(ImagePixelsTest, EmptyPictureGivesItsSizeAndFalse) {
    testing::BmpLayout layout;
    layout.width = 0;
    layout.height = 3;
    testing::write_file(temp_.file("empty.bmp"), testing::bmp_bytes(layout));
    EXPECT_FALSE(load_image_pixels(temp_.file("empty.bmp").c_str(), width_, height_, pixels_));
    EXPECT_EQ(width_, 0);
    EXPECT_EQ(height_, 3);
}

}  // namespace
}  // namespace vexel

namespace vexel {
namespace {

using testing::fill_window;

class SpriteCommandsTest : public ::testing::Test {
protected:
    DynString file(const std::string& name, const std::string& bytes) {
        testing::write_file(engine_.temp().file(name), bytes);
        return engine_.temp().file(name).c_str();
    }
    SpriteSlot& slot(int32_t n) { return *texture_store().slot(n); }
    ExactIntArray pixels_of(int32_t n) {
        ExactIntArray pixels;
        EXPECT_TRUE(sprite_to_pixels(pixels, n));
        return pixels;
    }

    testing::HeadlessEngine engine_;
};

TEST_F(SpriteCommandsTest, LoadSpriteKeysAndFillsBmpPictures) {
    set_error(5);
    load_sprite(file("keyed.bmp", keyed_bmp()), 12);
    EXPECT_EQ(last_error_code(), 0);
    int32_t w = 0;
    int32_t h = 0;
    get_sprite_size(12, w, h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 4);
    double dw = 0;
    double dh = 0;
    get_sprite_size(12, dw, dh);
    EXPECT_EQ(dw, 4.0);
    EXPECT_NE(get_sprite_texture(12), 0);
    EXPECT_NE(slot(12).mip_texture, 0u);
    const ExactIntArray pixels = pixels_of(12);
    ASSERT_EQ(pixels.count(), 16);
    EXPECT_EQ(pixels.at(10), 85 + 85 * 256 + 85 * 65536);
    EXPECT_EQ(pixels.at(5), static_cast<int32_t>(0xFF0000FFu));
}

TEST_F(SpriteCommandsTest, MissingOrUndecodableFilesSetNoSuchFileAndEmptyTheSlot) {
    load_sprite(file("keyed.bmp", keyed_bmp()), 1);
    load_sprite(engine_.temp().file("absent.png").c_str(), 1);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(slot(1).width, 0);
    EXPECT_EQ(get_sprite_texture(1), 0);

    load_sprite(file("keyed.bmp", keyed_bmp()), 1);
    load_sprite(file("notes.txt", "a text file that no decoder accepts"), 1);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(slot(1).width, 0);

    std::string corrupt_jpeg = "\xFF\xD8\xFF\xE0" + std::string(200, '\x55');
    load_sprite(file("broken.jpg", corrupt_jpeg), 1);
    EXPECT_EQ(last_error_code(), 3);
}

TEST_F(SpriteCommandsTest, FailedPictureLoadsNameTheFileAndTheReasonInTheLog) {
    testing::PngLayout png{4, 4, PNG_COLOR_TYPE_RGB, 8};
    png.samples.assign(48, 7);
    testing::BmpLayout wide;
    wide.width = 20000;
    wide.height = 1;
    wide.values.assign(20000, 0);
    const std::string absent = engine_.temp().file("absent.png");
    const std::vector<uint8_t> grey(16 * 16, 60);
    const DynString notes = file("notes.txt", "plain text");
    const DynString cut = file("cut.png", testing::png_bytes(png).substr(0, 60));
    const DynString sheet = file("sheet.jpg", testing::jpeg_bytes(16, 16, 1, grey));
    const DynString big = file("wide.bmp", testing::bmp_bytes(wide));

    load_sprite(absent.c_str(), 1);
    EXPECT_EQ(last_error_code(), 3);
    load_bump_sprite(notes, 1);
    EXPECT_EQ(last_error_code(), 3);
    load_background(cut);
    load_font(sheet, 3);
    int32_t width = 0;
    int32_t height = 0;
    ExactIntArray pixels;
    set_error(0);
    EXPECT_FALSE(load_image_pixels(big, width, height, pixels));
    EXPECT_EQ(last_error_code(), 0);
    screen_transition(absent.c_str(), 0);

    const std::string log = engine_.log();
    const auto line = [](const char* command, const std::string& name, const char* reason) {
        return std::string(command) + ": cannot load \"" + name + "\": " + reason + "\n";
    };
    for (const std::string& expected :
         {line("load_sprite", absent, "not found"),
          line("load_bump_sprite", notes.c_str(), "not a PNG/BMP/JPEG picture"),
          line("load_background", cut.c_str(), "damaged"),
          line("load_font", sheet.c_str(), "not a PNG/BMP picture"),
          line("load_image_pixels", big.c_str(), "larger than 16384 pixels a side"),
          line("screen_transition", absent, "not found")})
        EXPECT_NE(log.find(expected), std::string::npos) << expected << "in\n" << log;
}

TEST_F(SpriteCommandsTest, EmptyNamesDifferBetweenPlainAndBumpSprites) {
    load_sprite(file("keyed.bmp", keyed_bmp()), 2);
    set_error(9);
    load_sprite("", 2);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(slot(2).width, 0);
    load_bump_sprite("", 2);
    EXPECT_EQ(last_error_code(), 3);
}

TEST_F(SpriteCommandsTest, BumpSpritesAreNormalMaps) {
    // The whole texture must be covered, or the transparent black border slopes the edges.
    testing::BmpLayout flat;
    flat.width = 16;
    flat.height = 16;
    flat.values.assign(256, 0x102030);
    load_bump_sprite(file("flat.bmp", testing::bmp_bytes(flat)), 3);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(pixels_of(3).at(0), static_cast<int32_t>(0xFFFF7F7Fu));  // (127, 127, 255, 255)
}

TEST_F(SpriteCommandsTest, VirtualFilesLoadLikeDiskFiles) {
    const std::string bytes = keyed_bmp();
    MemoryFile memory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    load_sprite(memory.name().c_str(), 40);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(slot(40).width, 4);
}

TEST_F(SpriteCommandsTest, FrameSizesNeedALoadedSprite) {
    load_animation(file("keyed.bmp", keyed_bmp()), 13, 2, 1);
    EXPECT_EQ(slot(13).frame_width, 2);
    EXPECT_EQ(slot(13).frame_height, 1);
    set_sprite_frame_size(14, 5, 5);
    EXPECT_EQ(slot(14).frame_width, 0);
    set_sprite_frame_size(13, 70000, -70000);
    EXPECT_EQ(slot(13).frame_width, 32767);
    EXPECT_EQ(slot(13).frame_height, -32768);
    set_sprite_frame_size(-4, 1, 1);
}

TEST_F(SpriteCommandsTest, PixelArraysRoundTrip) {
    ExactIntArray pixels;
    pixels.dim(6);
    for (int32_t i = 0; i < 6; ++i)
        pixels.at(i) = static_cast<int32_t>(0x11223344u * uint32_t(i + 1));
    ASSERT_TRUE(sprite_from_pixels(pixels, 20, 3, 2));
    EXPECT_EQ(slot(20).width, 3);
    const ExactIntArray back = pixels_of(20);
    ASSERT_EQ(back.count(), 6);
    for (int32_t i = 0; i < 6; ++i)
        EXPECT_EQ(back.at(i), pixels.at(i));

    EXPECT_FALSE(sprite_from_pixels(pixels, 20, 2, 2));
    EXPECT_EQ(slot(20).width, 3);  // nothing changed
    EXPECT_FALSE(sprite_from_pixels(pixels, -1, 3, 2));
    ExactIntArray none;
    EXPECT_FALSE(sprite_to_pixels(none, 21));
    EXPECT_FALSE(sprite_to_pixels(none, 99999));
}

TEST_F(SpriteCommandsTest, FreeSlotsAreSearchedFromTheTopBelowTheFonts) {
    EXPECT_EQ(find_free_sprite(), kFirstFontSlot - 1);
    load_sprite(file("keyed.bmp", keyed_bmp()), kFirstFontSlot - 1);
    EXPECT_EQ(find_free_sprite(), kFirstFontSlot - 2);
    for (int32_t n = 0; n < kFirstFontSlot; ++n)
        slot(n).width = 1;
    EXPECT_EQ(find_free_sprite(), -1);
    slot(17).width = 0;
    EXPECT_EQ(find_free_sprite(), 17);
}

TEST_F(SpriteCommandsTest, SavedSpritesLoadBackInEveryFormat) {
    ExactIntArray pixels;
    pixels.dim(16 * 16);
    for (int32_t i = 0; i < 256; ++i)
        pixels.at(i) = static_cast<int32_t>(0xFF000000u | 0x405060u);
    pixels.at(17) = 0x00405060;  // transparent
    ASSERT_TRUE(sprite_from_pixels(pixels, 30, 16, 16));

    for (const char* name : {"out.PNG", "out.bmp", "out.Jpg"}) {
        SCOPED_TRACE(name);
        set_error(0);
        const DynString path = engine_.temp().file(name).c_str();
        save_sprite(path, 30);
        EXPECT_EQ(last_error_code(), 0);
        load_sprite(path, 31);
        EXPECT_EQ(last_error_code(), 0);
        const ExactIntArray back = pixels_of(31);
        ASSERT_EQ(back.count(), 256);
        const auto alpha = [&](int32_t i) { return static_cast<uint32_t>(back.at(i)) >> 24; };
        if (std::string(name) == "out.Jpg") {
            EXPECT_EQ(alpha(17), 255u);  // JPEG has no alpha
        } else {
            EXPECT_EQ(alpha(17), 0u);  // PNG keeps it; BMP brings it back through the key
            EXPECT_EQ(back.at(0), pixels.at(0));
        }
    }
}

TEST_F(SpriteCommandsTest, SavingFailuresSetNoSuchFile) {
    save_sprite(engine_.temp().file("empty.png").c_str(), 50);
    EXPECT_EQ(last_error_code(), 3);
    load_sprite(file("keyed.bmp", keyed_bmp()), 50);
    save_sprite("mem://00000010.00000001.png", 50);
    EXPECT_EQ(last_error_code(), 3);
    set_error(0);
    save_sprite(engine_.temp().file("no/folder/x.bmp").c_str(), 50);
    EXPECT_EQ(last_error_code(), 3);
}

TEST_F(SpriteCommandsTest, SaveScreenWritesWhatIsShown) {
    fill_window(0, 0, 640, 480, 0x203040);
    fill_window(600, 0, 40, 10, 0x0000FF);
    set_error(7);
    const DynString path = engine_.temp().file("screen.png").c_str();
    save_screen(path);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(find_free_sprite(), kFirstFontSlot - 1);  // the slot it borrowed is free again
    ImageBuffer shot;
    ASSERT_TRUE(decode_png(path.c_str(), kNoColourKey, shot));
    ASSERT_EQ(shot.width(), 640);
    ASSERT_EQ(shot.height(), 480);
    EXPECT_EQ(shot.pixel(639, 0)[0], 255);
    EXPECT_EQ(shot.pixel(599, 0)[0], 0x40);
    EXPECT_EQ(shot.pixel(320, 479)[2], 0x20);

    for (int32_t n = 0; n < kFirstFontSlot; ++n)
        slot(n).width = 1;
    save_screen(path);
    EXPECT_EQ(last_error_code(), 3);
}

TEST_F(SpriteCommandsTest, LoadBackgroundSucceedsOrClearsToBlack) {
    testing::suspend_leak_checks();  // the driver keeps the code it builds for drawing it
    load_background(file("keyed.bmp", keyed_bmp()));
    testing::resume_leak_checks();
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(texture_store().background(0)->columns, 1);

    fill_window(0, 0, 640, 480, 0x00FF00);
    load_background(engine_.temp().file("absent.bmp").c_str());
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(texture_store().background(0)->columns, 0);
    EXPECT_EQ(testing::read_pixel(5, 5), 0);
    EXPECT_TRUE(platform::opengl_duderedi()->clear_each_frame);
}

TEST_F(SpriteCommandsTest, ClearBackgroundClearsAtOnce) {
    testing::suspend_leak_checks();  // the driver keeps the code it builds for copying
    screen_to_background();
    testing::resume_leak_checks();
    EXPECT_NE(texture_store().background(0)->columns, 0);
    clear_background(0x0000FF);
    EXPECT_EQ(texture_store().background(0)->columns, 0);
    EXPECT_EQ(testing::read_pixel(100, 100), 0x0000FF);
    fill_window(0, 0, 640, 480, 0x00FF00);
    clear_background(-1);
    EXPECT_EQ(testing::read_pixel(100, 100), 0x00FF00);
    EXPECT_FALSE(platform::opengl_duderedi()->clear_each_frame);
}

TEST_F(SpriteCommandsTest, OutOfTableSlotsAreIgnored) {
    set_error(0);
    load_sprite(file("keyed.bmp", keyed_bmp()), 65536);
    load_sprite(file("keyed.bmp", keyed_bmp()), -1);
    EXPECT_EQ(last_error_code(), 0);
    int32_t w = 7;
    int32_t h = 7;
    get_sprite_size(-1, w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(get_sprite_texture(65536), 0);
    grab_sprite(70000, 0, 0, 5, 5);
    save_sprite(engine_.temp().file("x.png").c_str(), -9);
    EXPECT_EQ(last_error_code(), 3);
}

TEST(SpriteCorpusTest, FormsTheDecodersDoNotReadFailWithNoSuchFile) {
    const std::string folder = std::string(VEXEL_SHARED_DIR) + "/corpora/bmp/images/";
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no BMP corpus";
    testing::HeadlessEngine engine;
    for (const char* name :
         {"pal2.bmp", "pal4rle.bmp", "pal8rle.bmp", "rgb24rle24.bmp", "rgb16-565.bmp",
          "rgba32abf.bmp", "V4_24_Bit.bmp", "V5_24_Bit.bmp", "pal8v4.bmp", "rgb32bf.bmp",
          "lenient/rle_overflow.bmp", "lenient/badrle.bmp", "lenient/rletopdown.bmp"}) {
        load_sprite((folder + name).c_str(), 100);
        EXPECT_EQ(last_error_code(), 3) << name;
        EXPECT_EQ(texture_store().slot(100)->width, 0) << name;
    }
    load_sprite((folder + "rgb24.bmp").c_str(), 100);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(texture_store().slot(100)->width, 127);
}

}  // namespace
}  // namespace vexel
