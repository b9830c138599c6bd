// Internal: the engine's background music. One piece at a time plays through one mpv core (made
// at the first play_music, kept for the next pieces); a looping piece is restarted by the engine's
// own timer, so that it counts as playing between its end and its restart. The commands games
// call are in <vexel/music.h>.
#pragma once

#include <memory>
#include <string>

#include "sound/music_mpv_player.h"

namespace vexel {

struct MusicPlayer {
    std::unique_ptr<MpvPlayer> player;  // the core; null until the first piece
    bool loaded = false;                // a piece is open in it (the music window exists)
    double music_volume = -1;           // the last volume sent, -1 after a stop
    // Timer value (ms) at which a looping piece restarts; 0 when not looping; while paused the
    // restart time negated.
    double loop_restart_time = 0;
    double pause_time = 0;  // timer value at which a looping piece was paused
    std::string file_name;  // the resolved name of the current piece
};

MusicPlayer& music_player();

// Shutdown: the piece stopped, then the music core and a video still playing are destroyed, so
// that no thread of the media player outlives the engine.
void release_media_players();

// The shortest length a loop waits for, so that a piece of unknown length is not restarted in
// a busy loop.
constexpr double kMinimumLoopMs = 500;

}  // namespace vexel
