#include <vexel/input.h>

#include "input/input_state.h"
#include "platform/events.h"
#include "platform/keyboard.h"

namespace vexel {

namespace {

// Queries answered from one keyboard read before the next one reads it again.
constexpr int32_t kQueriesPerRead = 128;

// Key events the system has delivered reach the device as they arrive (events.h): collecting
// them is enough to read the keyboard as it is now, without handling any message.
void read_keyboard(bool frame_start) {
    platform::events_collect();
    platform::keyboard_refresh(frame_start);
}

}  // namespace

void refresh_keyboard() {
    read_keyboard(false);
}

int32_t key_state(int32_t code) {
    InputState* input = input_state();
    if (!input) return 0;
    if (++input->key_queries > kQueriesPerRead) {
        input->key_queries = 0;
        refresh_keyboard();
    }
    return platform::keyboard_key_down(code) ? 1 : 0;
}

int32_t key_hit(int32_t code) {
    if (!input_state()) return 0;
    return platform::keyboard_key_hit(code) ? 1 : 0;
}

void sample_input() {
    InputState* input = input_state();
    read_keyboard(true);
    if (!input) return;
    input->key_queries = 0;
    for (MouseRecord& record : input->mouse_records)
        sample_mouse(record, true);
}

}  // namespace vexel
