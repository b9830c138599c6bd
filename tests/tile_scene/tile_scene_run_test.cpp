// The tile scene run as the game it is: its executable in a process of its own, head-less with a
// fixed frame time, ending after a given number of frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "mesh/group_mesh.h"
#include "mesh/mesh_file.h"
#include "support/game_process.h"
#include "support/golden_image.h"
#include "support/temp_dir.h"

namespace tile_scene {
namespace {

namespace fs = std::filesystem;
using vexel::testing::GameRun;
using vexel::testing::Picture;
using vexel::testing::read_picture;
using vexel::testing::ScopedTempDir;

// set_screen presents five times before the scene's loop draws its first frame, so the loop's
// frame k is present 5 + k: the frame number of VEXEL_CAPTURE, VEXEL_INPUT_SCRIPT and
// VEXEL_MAX_FRAMES alike.
constexpr int kPresentsBeforeLoop = 5;
constexpr int loop_frame(int k) {
    return kPresentsBeforeLoop + k;
}

// Where the triangle tile with the water lies in the 1024 x 768 head-less screen while the
// camera looks straight down (found in a capture and checked by eye).
constexpr uint32_t kTileLeft = 810;
constexpr uint32_t kTileTop = 65;
constexpr uint32_t kTileRight = 1024;
constexpr uint32_t kTileBottom = 390;

// The game and its media copied into the test's own folder: the game works in its own folder
// and writes "Triangle-Wall.vxm" there, so runs in parallel never share a file.
class TileSceneRun : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path built = VEXEL_TILE_SCENE_DIR;
        for (const char* name : {"tile_scene", "WaterTexture.bmp", "square-tile.vxm",
                                 "triangle-tile.vxm", "hexagon-tile.vxm", "square-wall.vxm"})
            fs::copy_file(built / name, fs::path(temp_.path()) / name);
    }

    std::string file(const std::string& name) const { return temp_.file(name); }

    // Runs the game to completion with the given variables added to the environment.
    GameRun run(const vexel::testing::Environment& variables) const {
        return vexel::testing::run_game_process(file("tile_scene"), variables);
    }

    std::string log() const { return vexel::testing::read_file(file("ErrorLog.txt")); }

    Picture picture(const std::string& name) const {
        Picture shot;
        EXPECT_TRUE(read_picture(file(name), shot)) << name;
        return shot;
    }

private:
    ScopedTempDir temp_;
};

std::vector<size_t> strip_sizes(const std::vector<vexel::MeshVertex>& stream) {
    std::vector<size_t> sizes;
    for (const vexel::MeshVertex& record : stream) {
        if (vexel::is_marker(record.colour)) {
            sizes.push_back(0);
        } else if (!sizes.empty()) {
            ++sizes.back();
        }
    }
    return sizes;
}

std::string captures(const std::vector<std::pair<int, std::string>>& frames) {
    std::string list;
    for (const auto& [frame, name] : frames)
        list += (list.empty() ? "" : ",") + std::to_string(frame) + ":" + name;
    return list;
}

TEST_F(TileSceneRun, EndsAfterTheFrameLimitHavingSavedTheWallPiece) {
    const GameRun game = run({{"VEXEL_MAX_FRAMES", std::to_string(loop_frame(3))}});
    EXPECT_EQ(game.exit_code, 0);
    EXPECT_EQ(game.output, "exit\n");

    vexel::MeshObjectX wall;
    ASSERT_TRUE(vexel::read_mesh_file(file("Triangle-Wall.vxm").c_str(), wall));
    ASSERT_EQ(wall.frames.size(), 1u);
    // The build stream as the scene made it: a leading marker, then a marker after each of the
    // 86 strips, the last of which starts an empty group: 1,980 vertices and 87 markers.
    EXPECT_EQ(wall.frames[0].build_stream.size(), 2067u);
    std::vector<size_t> sizes = strip_sizes(wall.frames[0].build_stream);
    ASSERT_EQ(sizes.size(), 87u);
    EXPECT_EQ(sizes.back(), 0u);
    sizes.pop_back();
    std::vector<size_t> expected(72, 20);
    expected.insert(expected.end(), 6, 56);
    expected.insert(expected.end(), 3, 62);
    expected.insert(expected.end(), {3, 3, 4, 4, 4});
    EXPECT_EQ(sizes, expected);
    for (const vexel::MeshVertex& record : wall.frames[0].build_stream) {
        if (!vexel::is_marker(record.colour)) {
            ASSERT_EQ(record.colour, 16777215);
        }
    }

    // Nothing went wrong from start-up to the end: after the start-up lines the log holds only
    // the two lines of the shutdown, so no medium was missing and no command failed loudly.
    const std::string text = log();
    const size_t started = text.find("Init Finalized\n");
    ASSERT_NE(started, std::string::npos) << text;
    EXPECT_EQ(text.substr(started), "Init Finalized\nShutdown VXL\nvxl is shut down\n");
    EXPECT_EQ(text.rfind("Start new log...\n", 0), 0u);
}

TEST_F(TileSceneRun, TheWaterFirstMovesOnTheTenthFrame) {
    const GameRun game = run({{"VEXEL_MAX_FRAMES", std::to_string(loop_frame(11))},
                              {"VEXEL_CAPTURE", captures({{loop_frame(8), file("8.png")},
                                                          {loop_frame(9), file("9.png")},
                                                          {loop_frame(10), file("10.png")},
                                                          {loop_frame(11), file("11.png")}})}});
    ASSERT_EQ(game.exit_code, 0);
    const Picture eighth = picture("8.png");
    const Picture ninth = picture("9.png");
    const Picture tenth = picture("10.png");
    const Picture eleventh = picture("11.png");
    ASSERT_EQ(eighth.width, 1024u);
    ASSERT_EQ(eighth.height, 768u);
    using vexel::testing::changed_pixels;
    const uint32_t w = eighth.width;
    const uint32_t h = eighth.height;
    EXPECT_EQ(changed_pixels(eighth, ninth, 0, 0, w, h), 0);
    // The tenth frame moves the water one cell on, and only the water changes.
    EXPECT_GT(changed_pixels(ninth, tenth, kTileLeft, kTileTop, kTileRight, kTileBottom), 1000);
    EXPECT_EQ(changed_pixels(ninth, tenth, 0, 0, w, h),
              changed_pixels(ninth, tenth, kTileLeft, kTileTop, kTileRight, kTileBottom));
    EXPECT_EQ(changed_pixels(tenth, eleventh, 0, 0, w, h), 0);
}

// Goldens: the scene's second frame from straight above, and the frame the camera has come down
// to 30 degrees with cursor down held from present 6; channels within 8 levels for all but
// 0.5 % of the pixels.
TEST_F(TileSceneRun, FramesMatchTheirGoldenPictures) {
    vexel::testing::write_file(file("keys.txt"), "# cursor down, held\n6 key-down 208\n");
    const GameRun game = run({{"VEXEL_MAX_FRAMES", "70"},
                              {"VEXEL_INPUT_SCRIPT", file("keys.txt")},
                              {"VEXEL_CAPTURE", captures({{2, file("2.png")},
                                                          {loop_frame(2), file("second.png")},
                                                          {66, file("66.png")},
                                                          {67, file("67.png")},
                                                          {70, file("70.png")}})}});
    ASSERT_EQ(game.exit_code, 0);
    EXPECT_EQ(game.output, "exit\n");
    EXPECT_EQ(
        vexel::testing::compare_with_golden(file("second.png"), "tile_scene_second_frame.png"), "");
    EXPECT_EQ(vexel::testing::compare_with_golden(file("70.png"), "tile_scene_frame_70.png"), "");

    // Before the loop nothing is drawn: present 2 belongs to the switch to full screen.
    const Picture early = picture("2.png");
    Picture black = early;
    std::fill(black.rgba.begin(), black.rgba.end(), 0);
    EXPECT_EQ(vexel::testing::changed_pixels(early, black, 0, 0, early.width, early.height), 0);

    // The key pressed at present 6 is in that present's keyboard sample, so the loop's frame 2
    // (drawn from straight above) is the first to lower the camera, one degree a frame from 90:
    // the loop's frame 62 (present 67) is the first drawn at 30 degrees, and the limit holds it
    // there.
    const Picture above_limit = picture("66.png");
    const Picture at_limit = picture("67.png");
    const Picture held = picture("70.png");
    const uint32_t w = held.width;
    const uint32_t h = held.height;
    EXPECT_GT(vexel::testing::changed_pixels(above_limit, at_limit, 0, 0, w, h), 1000);
    EXPECT_EQ(vexel::testing::changed_pixels(at_limit, held, 0, 0, w, h), 0);
}

}  // namespace
}  // namespace tile_scene
