// The message pump and the engine's window procedure.
#pragma once

#include <cstdint>

#include <vexel/app.h>

#include "platform/events.h"

namespace vexel::platform {

// Handles the engine window's pending events. With a hook, the hook runs once before each event
// is taken out and handled. A quit signal (quit_signals.h) ends the program here, as a click on
// the close box does. Always 1.
int32_t pump_messages(ScriptFunction hook);
// What the engine does with one event of its window: focus changes pause and resume (not in
// debug mode), a close request ends the program, mouse events drive the mouse state and typed
// characters go to the typed-character queue. (The keyboard device takes key events as they
// arrive, before they get here.)
void handle_window_event(const Event& event);

}  // namespace vexel::platform
