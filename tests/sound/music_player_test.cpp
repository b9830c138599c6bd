#include "sound/music_player.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <vexel/app.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/music.h>

#include "input/input_state.h"
#include "support/headless_engine.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using testing::HeadlessEngine;

const DynString kPiece(VEXEL_SOURCE_DIR "/tests/data/music_tone.ogg");  // 0.6 s
constexpr double kPieceMs = 600;
constexpr double kFrameMs = 1000;  // the fixed clock's step per present

MpvPlayer& core() {
    return *music_player().player;
}

// Real time passes until the player reports what is asked (at most 5 s): mpv carries out
// commands on its own thread.
template <typename Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < 500 && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return condition();
}

bool played_to_end() {
    return eventually([] { return core().at_end(); });
}

int thread_count() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks))
            count += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return count;
}

// The engine on a fixed clock that moves only with presents, playing into mpv's null output.
class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VEXEL_AUDIO", "null", 1);
        setenv("VEXEL_FIXED_FRAME_MS", "1000", 1);
        engine_ = std::make_unique<HeadlessEngine>();
        ASSERT_TRUE(engine_->has_window());
    }

    testing::LeakCheckPause pause_;
    std::unique_ptr<HeadlessEngine> engine_;
};

TEST_F(MusicPlayerTest, LoopingPieceCountsAsPlayingFromItsEndUntilTheTimerRestartsIt) {
    play_music(kPiece, 1);
    EXPECT_EQ(last_error_code(), 0);
    const double restart = music_player().loop_restart_time;
    EXPECT_NEAR(restart - timer_ms(), kPieceMs, 50);
    ASSERT_TRUE(played_to_end());
    EXPECT_EQ(music_playing(), 1);
    music_loop_check();  // the timer has not moved: not yet
    EXPECT_TRUE(core().at_end());
    EXPECT_EQ(music_player().loop_restart_time, restart);

    show_screen();  // checks at its start, then moves the clock on by a second
    EXPECT_EQ(music_player().loop_restart_time, restart);
    EXPECT_EQ(music_playing(), 1);
    const double check_time = timer_ms();
    show_screen();  // past the restart time: the piece starts again
    EXPECT_NEAR(music_player().loop_restart_time - check_time, kPieceMs, 50);
    EXPECT_TRUE(eventually([] { return !core().at_end(); }));
    EXPECT_LT(core().number_property("time-pos") * 1000, kPieceMs / 2);
    EXPECT_EQ(music_playing(), 1);
}

TEST_F(MusicPlayerTest, PieceWithoutLoopStopsCountingAtItsEnd) {
    play_music(kPiece, 0);
    EXPECT_EQ(music_player().loop_restart_time, 0);
    EXPECT_EQ(music_playing(), 1);
    ASSERT_TRUE(played_to_end());
    EXPECT_EQ(music_playing(), 0);
    show_screen();
    EXPECT_TRUE(core().at_end());
}

TEST_F(MusicPlayerTest, StopDuringPlayForgetsThePieceAndTheVolume) {
    play_music(kPiece, 1);
    ASSERT_EQ(music_playing(), 1);
    stop_music();
    EXPECT_EQ(music_playing(), 0);
    EXPECT_EQ(music_player().music_volume, -1);
    EXPECT_EQ(music_player().loop_restart_time, 0);
    EXPECT_TRUE(eventually([] { return core().flag_property("idle-active"); }));
    show_screen();
    show_screen();  // past the restart time the piece had: the loop check brings nothing back
    EXPECT_TRUE(core().flag_property("idle-active"));
    EXPECT_EQ(music_playing(), 0);
}

TEST_F(MusicPlayerTest, VolumeReachesThePlayerOnlyWhenItChangesAndAlwaysAfterAStop) {
    play_music(kPiece, 0);
    EXPECT_DOUBLE_EQ(core().number_property("volume"), 100);
    set_music_volume(0.5);
    EXPECT_DOUBLE_EQ(core().number_property("volume"), 50);
    // Moved behind the engine's back: the same volume again sends nothing.
    core().set_volume(20);
    set_music_volume(0.5);
    EXPECT_DOUBLE_EQ(core().number_property("volume"), 20);
    set_music_volume(0.25);
    EXPECT_DOUBLE_EQ(core().number_property("volume"), 25);
    set_music_volume(7);  // held to the player's range
    EXPECT_DOUBLE_EQ(core().number_property("volume"), 100);

    // A new piece ends with volume 1; after the stop inside it, 1 is sent even when the player
    // was last told 1 already.
    set_music_volume(1);
    core().set_volume(20);
    play_music(kPiece, 0);
    EXPECT_DOUBLE_EQ(core().number_property("volume"), 100);
}

TEST_F(MusicPlayerTest, PausingForTenSecondsMovesTheRestartTenSecondsLater) {
    play_music(kPiece, 1);
    const double restart = music_player().loop_restart_time;
    pause_music(1);
    EXPECT_EQ(music_player().loop_restart_time, -restart);
    EXPECT_TRUE(core().flag_property("pause"));
    pause_music(1);  // a second pause changes nothing
    EXPECT_EQ(music_player().loop_restart_time, -restart);
    for (int i = 0; i < 10; ++i)
        show_screen();  // ten seconds of the engine's clock; no restart while paused
    EXPECT_EQ(music_player().loop_restart_time, -restart);
    pause_music(0);
    EXPECT_EQ(music_player().loop_restart_time, restart + 10 * kFrameMs);
    EXPECT_FALSE(core().flag_property("pause"));
    EXPECT_EQ(music_playing(), 1);
}

TEST_F(MusicPlayerTest, PlayingMakesTheGameRunAgainAndKeepsThePointerShown) {
    set_paused(1);
    ASSERT_EQ(is_paused(), 1);
    ASSERT_TRUE(input_state()->pointer_visible);
    play_music(kPiece, 0);
    EXPECT_EQ(is_paused(), 0);
    EXPECT_TRUE(input_state()->pointer_visible);
}

TEST(MusicPlayerExclusiveMouse, PlayingKeepsAHiddenPointerHidden) {
    setenv("VEXEL_AUDIO", "null", 1);
    project_settings().exclusive_mouse = 1;
    testing::LeakCheckPause pause;
    HeadlessEngine engine;
    ASSERT_FALSE(input_state()->pointer_visible);
    play_music(kPiece, 0);
    EXPECT_FALSE(input_state()->pointer_visible);
    EXPECT_EQ(music_playing(), 1);
}

TEST_F(MusicPlayerTest, NameNotFoundSetsThreeAndPlaysNothing) {
    play_music(kPiece, 1);
    play_music(DynString("no_such_piece.ogg"), 1);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(music_playing(), 0);
    EXPECT_EQ(music_player().loop_restart_time, 0);
    EXPECT_EQ(engine_->log().find("no_such_piece"), std::string::npos);
}

TEST_F(MusicPlayerTest, FileThePlayerCannotOpenIsSilenceWithOneLogLine) {
    const std::string text = engine_->temp().file("noise.ogg");
    testing::write_file(text, "this is text, not music\n");
    play_music(DynString(text.c_str()), 1);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(music_playing(), 0);  // even with the loop flag
    EXPECT_EQ(music_player().loop_restart_time, 0);
    show_screen();
    const std::string log = engine_->log();
    const std::string line = "play_music: cannot load \"" + text + "\": ";
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find(line), log.rfind(line));
    play_music(kPiece, 0);  // the player is still usable
    EXPECT_EQ(music_playing(), 1);
}

TEST_F(MusicPlayerTest, ShutdownLeavesNoThreadOfThePlayerBehind) {
    const int before = thread_count();
    play_music(kPiece, 1);
    EXPECT_GT(thread_count(), before);
    shutdown_engine();
    EXPECT_EQ(music_player().player, nullptr);
    EXPECT_EQ(music_playing(), 0);
    EXPECT_LE(thread_count(), before);
}

}  // namespace
}  // namespace vexel
