// Vexel — system services: starting other programs, opening documents and URLs, calling
// functions of shared libraries declared by name, and a text console.
#pragma once

#include <cstdint>
#include <type_traits>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Processes
//------------------------------------------------------------------------------------------------

// Starts the program of a command line such as  editor "my notes.txt"  and gives 1, or 0 when
// the line is empty or unparsable or the program cannot be started (nothing else changes).
// The line is split into arguments by the quoting rules of a POSIX shell (single quotes, double
// quotes, backslash escapes) but no shell runs it: no variables, wildcards, pipes or redirections
// take effect, so a text built from a player's input cannot run anything but the one program.
// The program is searched on PATH unless its name holds a '/'. It inherits standard input,
// output and error and no other open file or socket of the engine. The engine's window turns
// windowed (centred) first, and gets the keyboard back afterwards.
// wait: returns when the program has ended, exit_code := its exit code (128 + the signal number
// when a signal ended it, as a shell reports it); otherwise returns at once with exit_code 0 and
// the engine reaps the program when it ends. show is accepted for scripts that pass it; a
// program's own windows decide whether they are shown.
int32_t launch_process(const DynString& command_line, bool wait, bool show, double& exit_code);
int32_t launch_process(const DynString& command_line, bool wait, bool show, int32_t& exit_code);
// Shuts the engine down, starts the command line without waiting and ends the program (exit
// code 0); returns only when the program is already ending.
void run_and_end(const DynString& command_line);
// Hands a document or URL to the desktop's opener (xdg-open on PATH) without waiting for it.
// While Escape quits (the default) the engine shuts down first and the program ends afterwards;
// otherwise the program goes on. No opener: nothing happens, last error 3.
void shell_open(const DynString& document);

//------------------------------------------------------------------------------------------------
// Functions of shared libraries
//------------------------------------------------------------------------------------------------

namespace detail {
void register_external(const DynString& library, const DynString& entry, void* slot);
}

// Declares that *slot is to receive the function entry of library (a file name or path; a bare
// name like "foo" or "foo.dll" also finds "libfoo.so" and "foo.so"). Declare before the engine
// starts (in the project-settings routine): start-up loads each library once and fills every
// slot, or leaves it null with "DECLARE module not found: <library>" or
// "DECLARE entry not found: <entry>" in the error log.
template <typename Function>
requires std::is_function_v<Function>
void register_external(const DynString& library, const DynString& entry, Function** slot) {
    detail::register_external(library, entry, static_cast<void*>(slot));
}
// Loads and fills every declaration in order (start-up does this once; "Delay load DLLs" is
// logged first when there is any).
void resolve_externals();
// Forgets every declaration and unloads the libraries; runs by itself when the program ends.
void release_externals();

//------------------------------------------------------------------------------------------------
// Console
//------------------------------------------------------------------------------------------------

// Standard input and output that are not a terminal (a game started from a desktop) are
// rebound to the controlling terminal. Without any terminal nothing changes: last error 3.
void open_console();
// One line from standard input without its line end ("\n" or "\r\n"); a line of more than 4095
// bytes comes in pieces of 4095. Empty at the end of the input.
DynString read_console_line();

}  // namespace vexel
