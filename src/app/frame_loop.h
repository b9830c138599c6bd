// Frame loop state shared with start-up and the debugger break.
#pragma once

#include <vexel/app.h>

namespace vexel {

// The next show_screen brings the window to the front (after a debugger break).
void request_reactivation();
// The game's "VXL_WIN32_MSG" function, looked up once per process; null when there is none.
ScriptFunction message_hook();

}  // namespace vexel
