// Plain-words reports of what went wrong, for the developer of a game. The last-error codes stay
// as each command gives them; these lines only say which file or which fault, and why.
#pragma once

#include <string_view>

namespace vexel {

// One line in the error log for a media file that did not load:
// "<command>: cannot load \"<file>\": <reason>\n" (e.g. reason "not found", "damaged").
void log_load_failure(std::string_view command, std::string_view file, std::string_view reason);
// The same for data that could not be written back to its file:
// "<command>: cannot write \"<file>\": <reason>\n" (e.g. reason "folder not found").
void log_write_failure(std::string_view command, std::string_view file, std::string_view reason);

// One line on standard error, "vexel: <cause>\n", then end_program. For the fatal faults that
// end a game (array bounds, a channel that is not open, data read past its end), so that the
// developer sees what ended it instead of a bare "exit". Like end_program, it returns only when
// the program is already ending.
void end_program_because(std::string_view cause);

}  // namespace vexel
