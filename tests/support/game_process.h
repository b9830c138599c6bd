// A game run as a player runs it: its executable in a process of its own, head-less, with a fixed
// frame time, ending after the frames VEXEL_MAX_FRAMES allows.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vexel::testing {

struct GameRun {
    int exit_code = -1;  // -1 when the game did not exit normally
    std::string output;  // what it wrote on standard output
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs the program to its end with the head-less variables and the given ones set; standard
// error and TMPDIR are the test's own.
GameRun run_game_process(const std::string& program, const Environment& variables);

// The error log's lines after start-up ended; for a run that met no failure only the two lines
// of the shutdown: "Shutdown VXL\nvxl is shut down\n". Empty when start-up never ended.
std::string log_after_start_up(const std::string& log);

}  // namespace vexel::testing
