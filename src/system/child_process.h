// Internal: starting programs without a shell, waiting for them and reaping them.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vexel::system {

// Starts arguments[0] (searched on PATH unless it holds a '/') with the arguments as they are
// and the engine's environment. The child inherits standard input, output and error only: every
// other descriptor of the engine (files, sockets, the display connection) is closed in it, and
// its signals start with default handling and nothing blocked. -1 when it cannot be started.
pid_t spawn_program(const std::vector<std::string>& arguments);

// Waits for the child to end (through interrupted waits): its exit code, or 128 + the signal
// number for a child ended by a signal, as a shell reports it. nullopt when the child is not
// ours to wait for any more.
std::optional<int32_t> wait_for_exit(pid_t child);

// Reaps the child in the background once it ends, so that it never lingers as a zombie.
void reap_when_done(pid_t child);

// True when an executable file of that name lies in a folder of PATH (the same search as
// spawn_program's).
bool found_on_path(const std::string& program);

}  // namespace vexel::system
