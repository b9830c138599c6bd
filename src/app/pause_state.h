// The paused flag without its callbacks, for start-up and the debugger break.
#pragma once

namespace vexel {

void clear_paused_flag();  // paused := 0; "VXL_ON_RESUME" does not fire

}  // namespace vexel
