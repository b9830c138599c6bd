// Vexel — background music and full-window video, in any format FFmpeg reads (Ogg, MP3, FLAC,
// WAV, WebM, MP4, ...). One piece of music plays at a time, optionally looping; a video plays
// over the whole window and holds the game until it ends or the user presses a key or a button.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Music
//------------------------------------------------------------------------------------------------

// Replaces the current piece with the file (a disk file or an archive entry) from its start, at
// volume 1, and ends the paused state. loop != 0 restarts it whenever its length has passed.
// Last error 0; 3 when the name is not found (nothing plays). A file that cannot be played is
// silence and one line in the error log.
void play_music(const DynString& file, int32_t loop);
// Stops and forgets the current piece; the next set_music_volume always reaches the player.
void stop_music();
// Volume 0 ... 1 of the music; sent to the player only when it differs from the last one.
void set_music_volume(double volume);
// 1 while a piece plays (a looping piece always, also between its end and its restart), or is
// paused before its end; else 0.
int32_t music_playing();
// flag != 0 pauses the music, 0 resumes it; a looping piece restarts that much later.
void pause_music(int32_t flag);
// Restarts a looping piece whose time has come. The present, the pause loop and the waits for
// input call it; a game that waits in a loop of its own may call it too.
void music_loop_check();

//------------------------------------------------------------------------------------------------
// Video
//------------------------------------------------------------------------------------------------

// Plays the file (a disk file or an archive entry) scaled to fit the window and centred, with
// its sound, until it ends (loop != 0: until a key or button is pressed) or a character is typed
// or a mouse button pressed. 0 when done (also for a file that cannot be played: nothing is
// shown), 3 when the name is not found or no player can be made.
int32_t play_video(const DynString& file, int32_t loop);

}  // namespace vexel
