// One run of the tool: from the command line to the files written, with its messages.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"

namespace vxmconv {

// Scenes above this many triangles show a progress line.
inline constexpr unsigned long long kProgressTriangles = 1000000;

// Converts as the options say. Notes about what had to be left out go to `messages` as lines of
// their own. Throws UsageError or ConversionError.
void convert(const Options& options, std::FILE* messages);

// The whole tool: parses the arguments (without the program name), converts and reports.
// Returns the exit status: 0 done, 1 a file could not be read, converted or written, 2 a wrong
// command line.
int run_command_line(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

}  // namespace vxmconv
