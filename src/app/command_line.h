// The command line as the process entry received it.
#pragma once

namespace vexel {

// Stores the program path and the arguments, separated by single spaces.
void store_command_line(int argc, char** argv);

}  // namespace vexel
