#include <vexel/input.h>

#include "input/input_state.h"
#include "platform/keyboard.h"

namespace vexel {

namespace {

// Queries answered from one keyboard read before the next one reads it again.
constexpr int32_t kQueriesPerRead = 128;

}  // namespace

void refresh_keyboard() {
    platform::keyboard_refresh();
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

void sample_input() {
    InputState* input = input_state();
    refresh_keyboard();
    if (!input) return;
    input->key_queries = 0;
    for (MouseRecord& record : input->mouse_records)
        sample_mouse(record, true);
}

}  // namespace vexel
