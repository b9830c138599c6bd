// The orbit and pick example with the pointer resting on the scene while the camera circles: the
// cube under it is picked, lit, marked and labelled, as its golden picture shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_process.h"
#include "support/golden_image.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(OrbitPickRun, TheCubeUnderThePointerIsPickedAsTheGoldenShows) {
    vexel::testing::ScopedTempDir temp;
    const std::string game = temp.file("orbit_pick");
    fs::copy_file(fs::path(VEXEL_EXAMPLES_DIR) / "orbit_pick" / "orbit_pick", game);
    vexel::testing::write_file(temp.file("pointer.txt"), "1 mouse-move 250 330\n");

    const vexel::testing::GameRun run =
        vexel::testing::run_game_process(game, {{"VEXEL_MAX_FRAMES", "300"},
                                                {"VEXEL_INPUT_SCRIPT", temp.file("pointer.txt")},
                                                {"VEXEL_CAPTURE", "300:" + temp.file("300.png")}});
    ASSERT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.output, "exit\n");
    EXPECT_EQ(vexel::testing::compare_with_golden(temp.file("300.png"), "orbit_pick_frame_300.png"),
              "");
    EXPECT_EQ(
        vexel::testing::log_after_start_up(vexel::testing::read_file(temp.file("ErrorLog.txt"))),
        "Shutdown VXL\nvxl is shut down\n");
}

}  // namespace
