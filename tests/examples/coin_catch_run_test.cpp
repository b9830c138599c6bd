// The coin catch example played from an input script: the frame it ends on against its golden
// picture, and the best score it keeps in its settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/game_process.h"
#include "support/golden_image.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using vexel::testing::read_file;
using vexel::testing::write_file;

// Right to the first coin, down to the second, left to the third, up to the fourth, then a step
// to the right; 300 frames in all.
constexpr char kFourCoins[] =
    "10 key-down 205\n50 key-up 205\n"
    "55 key-down 208\n97 key-up 208\n"
    "100 key-down 203\n185 key-up 203\n"
    "190 key-down 200\n268 key-up 200\n"
    "280 key-down 205\n290 key-up 205\n";

class CoinCatchRun : public ::testing::Test {
protected:
    // The game with its media in the test's own folder, where it also keeps its settings file.
    void SetUp() override {
        const fs::path built = fs::path(VEXEL_EXAMPLES_DIR) / "coin_catch";
        for (const char* name : {"coin_catch", "player.png", "coin.png", "coin.wav"})
            fs::copy_file(built / name, fs::path(temp_.path()) / name);
        write_file(file("keys.txt"), kFourCoins);
    }

    std::string file(const std::string& name) const { return temp_.file(name); }

    void store_best(int best) const {
        write_file(file("coin_catch.ini"), "[scores]\nbest=" + std::to_string(best) + "\n");
    }

    vexel::testing::GameRun play(const std::string& capture = "") const {
        vexel::testing::Environment variables = {{"VEXEL_MAX_FRAMES", "300"},
                                                 {"VEXEL_INPUT_SCRIPT", file("keys.txt")}};
        if (!capture.empty()) variables.emplace_back("VEXEL_CAPTURE", capture);
        return vexel::testing::run_game_process(file("coin_catch"), variables);
    }

private:
    vexel::testing::ScopedTempDir temp_;
};

TEST_F(CoinCatchRun, FourCaughtCoinsBeatTheStoredBestAndMatchTheGolden) {
    store_best(2);
    const vexel::testing::GameRun game = play("300:" + file("300.png"));
    ASSERT_EQ(game.exit_code, 0);
    EXPECT_EQ(game.output, "exit\n");
    EXPECT_EQ(vexel::testing::compare_with_golden(file("300.png"), "coin_catch_frame_300.png"), "");
    std::string stored = read_file(file("coin_catch.ini"));
    std::erase(stored, '\r');  // the engine ends its lines with CR LF
    EXPECT_EQ(stored, "[scores]\nbest=4\n");
    // The pictures and the sound all loaded: a failed load would have left a line in the log.
    EXPECT_EQ(vexel::testing::log_after_start_up(read_file(file("ErrorLog.txt"))),
              "Shutdown VXL\nvxl is shut down\n");
}

TEST_F(CoinCatchRun, AHigherStoredBestIsKept) {
    store_best(9);
    ASSERT_EQ(play().exit_code, 0);
    EXPECT_EQ(read_file(file("coin_catch.ini")), "[scores]\nbest=9\n");  // not even rewritten
}

}  // namespace
