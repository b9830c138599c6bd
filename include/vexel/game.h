// Vexel — writing a game: the game describes itself and the engine runs it.
//
//     static void settings(vexel::ProjectSettings& s) { s.project_name = "My game"; }
//     static void run() { for (;;) vexel::show_screen(); }
//     VEXEL_GAME(settings, nullptr, run)
#pragma once

#include <vexel/app.h>
#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Game description
//------------------------------------------------------------------------------------------------

struct Game {
    void (*set_project_settings)(ProjectSettings& settings);  // null keeps the defaults
    const CallbackEntry* callbacks;  // "VXL_ON_QUIT", ...; ends with a null function; may be null
    void (*main)();                  // the game's main routine; the program ends when it returns
};

// The process entry: stores the command line, lets the game state its settings, starts the
// engine, runs the game and ends through end_program (exit code 0). Never returns.
[[noreturn]] void run_game(const Game& game, int argc, char** argv);

// The command line as one text: the program path, then each argument after a single space.
DynString get_command_line();

}  // namespace vexel

// Defines the program's main function for a game.
#define VEXEL_GAME(settings, callbacks, main_routine)                                          \
    int main(int argc, char** argv) {                                                          \
        ::vexel::run_game(::vexel::Game{(settings), (callbacks), (main_routine)}, argc, argv); \
    }
