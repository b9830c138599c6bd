#include "app/pause_state.h"

#include <vexel/app.h>

namespace vexel {

namespace {

int32_t g_paused = 0;
int32_t g_autopause = 1;

}  // namespace

int32_t is_paused() {
    return g_paused;
}
int32_t get_autopause() {
    return g_autopause;
}
void clear_paused_flag() {
    g_paused = 0;
}

void set_paused(int32_t flag) {
    const bool pause = flag != 0 && g_autopause != 0;
    if (pause && g_paused == 0) {
        g_paused = 1;
        call_by_name("VXL_ON_PAUSE");
    } else if (!pause && g_paused == 1) {
        g_paused = 0;
        call_by_name("VXL_ON_RESUME");
    }
}

void set_autopause(int32_t flag) {
    g_autopause = flag != 0;
    if (g_autopause == 0 && g_paused == 1) {
        g_paused = 0;
        call_by_name("VXL_ON_RESUME");
    }
}

}  // namespace vexel
