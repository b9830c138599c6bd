// Frame loop state shared with start-up and the debugger break.
#pragma once

#include <vexel/app.h>

namespace vexel {

// The next show_screen brings the window to the front (after a debugger break).
void request_reactivation();
// The game's "VXL_WIN32_MSG" function, looked up once per process; null when there is none.
ScriptFunction message_hook();
// One turn of a loop that waits for the user (wait_key, wait_mouse, the pause loop) counts as a
// frame of the run, so that the input script can answer the wait and VEXEL_MAX_FRAMES can end
// it: the script's events of that frame are queued, and the run ends when it was the last.
void count_waiting_turn();

}  // namespace vexel
