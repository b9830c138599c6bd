#include "sound/music_player.h"

#include <algorithm>
#include <cmath>

#include <vexel/app.h>
#include <vexel/archive.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/input.h>
#include <vexel/music.h>

#include "app/failure_report.h"
#include "input/input_state.h"
#include "platform/mouse.h"
#include "sound/video_player.h"

namespace vexel {

namespace {

constexpr int32_t kNoSuchFile = 3;

// The mouse is let go and the pointer hidden while the player opens the file; afterwards the
// mouse is taken again as it was, a shown pointer placed at the engine's mouse position.
bool let_go_of_mouse() {
    InputState* input = input_state();
    if (!input) return false;
    const bool visible = input->pointer_visible;
    platform::cursor_set_relative(false);
    platform::cursor_show(false);
    input->pointer_visible = false;
    return visible;
}

void take_back_mouse(bool pointer_was_visible) {
    if (input_state()) show_system_pointer(pointer_was_visible ? 1 : 0);
}

bool ensure_core(MusicPlayer& music, std::string* reason) {
    if (!music.player) music.player = MpvPlayer::create(MpvPlayer::Output::kAudioOnly, reason);
    return music.player != nullptr;
}

bool open_piece(MusicPlayer& music, const DynString& resolved, std::string* reason) {
    return ensure_core(music, reason) && music.player->load(resolved.c_str(), reason);
}

double piece_length(const MusicPlayer& music) {
    return std::max(music.player->length_ms(), kMinimumLoopMs);
}

}  // namespace

MusicPlayer& music_player() {
    static MusicPlayer state;
    return state;
}

void play_music(const DynString& file, int32_t loop) {
    set_error(0);
    stop_music();
    DynString resolved;
    if (!resolve_name(file, resolved, false)) {
        set_error(kNoSuchFile);
        return;
    }
    MusicPlayer& music = music_player();
    const bool pointer_was_visible = let_go_of_mouse();
    std::string reason;
    music.loaded = open_piece(music, resolved, &reason);
    if (music.loaded) {
        music.file_name = resolved.c_str();
        music.loop_restart_time = loop ? timer_ms() + piece_length(music) : 0;
        music.player->seek_to_start();
        music.player->set_paused(false);
    } else {
        log_load_failure("play_music", file.c_str(), reason);
    }
    take_back_mouse(pointer_was_visible);
    if (music.music_volume != 1) set_music_volume(1);
    set_paused(0);
}

void stop_music() {
    MusicPlayer& music = music_player();
    music.music_volume = -1;
    music.loop_restart_time = 0;
    if (music.loaded) music.player->stop();
    music.loaded = false;
    music.file_name.clear();
}

void set_music_volume(double volume) {
    MusicPlayer& music = music_player();
    if (volume == music.music_volume) return;
    music.music_volume = volume;
    // The player takes 0 ... 100; anything else (a NaN too) is held to that range.
    const double percent = std::isnan(volume) ? 0 : std::clamp(volume, 0.0, 1.0) * 100.0;
    if (music.loaded) music.player->set_volume(percent);
}

int32_t music_playing() {
    const MusicPlayer& music = music_player();
    if (!music.loaded) return 0;
    if (music.loop_restart_time > 0) return 1;
    return music.player->at_end() ? 0 : 1;
}

void pause_music(int32_t flag) {
    MusicPlayer& music = music_player();
    if (!music.loaded) return;
    if (flag) {
        if (music.loop_restart_time > 0) {
            music.pause_time = timer_ms();
            music.loop_restart_time = -music.loop_restart_time;
        }
        music.player->set_paused(true);
        return;
    }
    if (music.loop_restart_time < 0)
        music.loop_restart_time = -music.loop_restart_time + (timer_ms() - music.pause_time);
    music.player->set_paused(false);
}

void music_loop_check() {
    MusicPlayer& music = music_player();
    if (!music.loaded || music.loop_restart_time <= 0) return;
    const double now = timer_ms();
    if (now < music.loop_restart_time) return;
    music.loop_restart_time = now + piece_length(music);
    music.player->seek_to_start();
    music.player->set_paused(false);
}

void release_media_players() {
    release_video_player();
    stop_music();
    music_player().player.reset();
}

}  // namespace vexel
