#include <cstdio>
#include <cstdlib>

#include <vexel/app.h>
#include <vexel/error.h>

#include "app/failure_report.h"

namespace vexel {

namespace {

void append_line(int32_t value) {
    char line[16];
    std::snprintf(line, sizeof line, "%d\n", value);
    append_error_log(line);
}

}  // namespace

void end_program() {
    static bool ending = false;
    if (ending) return;
    ending = true;

    if (project_settings().debug_mode) {
        const ErrorState& state = error_state();
        append_error_log("-End On Line\n");
        append_line(state.last_error_code);
        append_line(state.error_line - 1);
        append_line(state.current_line);
        append_line(state.current_module);
    }
    shutdown_engine();
    std::puts("exit");
    std::exit(0);
}

void assert_value(double value) {
    if (value != 0) return;
    debug_output("Assertion: Value = 0\n");
    set_error(21);
    end_program_because("assertion failed: assert_value(0)");
}

}  // namespace vexel
