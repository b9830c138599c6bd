// Vexel — the error record, the error log and diagnostic output.
// Every engine command reports failure through its result and the last-error record below;
// fatal faults end the program through end_program.
#pragma once

#include <cstdint>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Error record
//------------------------------------------------------------------------------------------------

// Where the last error happened and where the running script is. One per process.
struct ErrorState {
    int32_t last_error_code = 0;  // read by last_error_text: 0 success, 3 no such file, 7 out of
                                  // memory, 9 out of bounds, 20 out of data
    int32_t error_line = 0;       // current_line when the error was set
    int32_t current_line = 0;     // set by set_source_position (debug builds of a script)
    int32_t current_module = 0;
};

ErrorState& error_state();     // the process-wide record
void set_error(int32_t code);  // stores the code, copies current_line to error_line
int32_t last_error_code();     // the code stored by the last set_error
void set_source_position(int32_t module, int32_t line);  // where the script is now
void clear_error_record();  // zeroes last_error_code, error_line, current_line

//------------------------------------------------------------------------------------------------
// Error log and diagnostic output
//------------------------------------------------------------------------------------------------

const char* temp_folder();                // TMPDIR, else /tmp; always ends in "/"
const char* error_log_path();             // temp_folder() + "ErrorLog.txt"
void append_error_log(const char* text);  // open, append, close (5 tries); null writes "NULL"
bool debugger_attached();                 // a tracer is attached to this process
void debug_output(const char* text);      // "TX" + text to standard error, only under a debugger
void write_stdout(const char* text);      // the text as it is, no line end added
void write_stderr(const char* text);      // the text as it is, no line end added

//------------------------------------------------------------------------------------------------
// Ending the program
//------------------------------------------------------------------------------------------------

// Shuts the engine down once, prints "exit" and exits with code 0. A call made while the
// program is already ending returns to its caller.
void end_program();
// Ends the program with last error 21 when the value is 0; nothing otherwise.
void assert_value(double value);

}  // namespace vexel
