#include <cmath>
#include <cstdint>
#include <cstdio>

#include <vexel/app.h>
#include <vexel/error.h>

#include "app/frame_loop.h"
#include "app/pause_state.h"
#include "app/subsystem_hooks.h"

namespace vexel {

void debug_break(double number) {
    if (!debugger_attached()) return;
    // The number's 32 low bits, as a script integer holds them; non-finite values give 0.
    const int64_t whole =
        std::isfinite(number) && std::fabs(number) < 9.2e18 ? static_cast<int64_t>(number) : 0;
    std::fprintf(stderr, "BP%x", static_cast<uint32_t>(whole));
    std::fflush(stderr);
    hooks::release_input_for_debugger();
    clear_paused_flag();
    request_reactivation();
}

}  // namespace vexel
