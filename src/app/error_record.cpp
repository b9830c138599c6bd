#include <vexel/error.h>

namespace vexel {

ErrorState& error_state() {
    static ErrorState state;
    return state;
}

void set_error(int32_t code) {
    ErrorState& state = error_state();
    state.last_error_code = code;
    state.error_line = state.current_line;
}

int32_t last_error_code() {
    return error_state().last_error_code;
}

void set_source_position(int32_t module, int32_t line) {
    ErrorState& state = error_state();
    state.current_module = module;
    state.current_line = line;
}

void clear_error_record() {
    ErrorState& state = error_state();
    state.last_error_code = 0;
    state.error_line = 0;
    state.current_line = 0;
}

}  // namespace vexel
