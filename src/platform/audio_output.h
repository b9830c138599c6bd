// Where the engine's sound goes. One variable silences both sound effects and music/video, so a
// head-less run or a CI machine makes no noise and needs no sound server.
#pragma once

namespace vexel::platform {

// True when VEXEL_AUDIO=null: sound effects open SDL's dummy driver, music and video use mpv's
// null output. Read each time, so a test can set it before the engine starts.
bool null_audio_requested();

}  // namespace vexel::platform
