// Ctrl+C (SIGINT), SIGTERM and SIGHUP as a request to close the window: the engine notices it at
// the next message pump and ends the program through end_program, so the game's "VXL_ON_QUIT"
// runs and its stores are written back. Each handler fires once: a second signal of the same kind
// ends the process the standard way, so a game that never pumps again can still be stopped.
#pragma once

namespace vexel::platform {

// Installs the handlers (again after a second call, for a new run of the engine).
void watch_quit_signals();
// True once one of the signals has arrived.
bool quit_signal_pending();

}  // namespace vexel::platform
