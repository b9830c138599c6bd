#include <cstdlib>

#include <vexel/error.h>
#include <vexel/game.h>

#include "app/command_line.h"

namespace vexel {

namespace {

DynString& command_line() {
    static DynString text;
    return text;
}

}  // namespace

void store_command_line(int argc, char** argv) {
    DynString& text = command_line();
    text.release();
    for (int i = 0; i < argc; ++i) {
        if (!argv[i]) continue;
        if (i > 0) text.append(' ');
        text.append(argv[i]);
    }
}

DynString get_command_line() {
    return command_line();
}

void run_game(const Game& game, int argc, char** argv) {
    store_command_line(argc, argv);
    if (game.set_project_settings) game.set_project_settings(project_settings());
    set_callback_table(game.callbacks);
    init_engine(1, project_settings().project_name.c_str());
    clear_error_record();
    if (game.main) game.main();
    end_program();
    // end_program returns only to a call made while the program is already ending.
    std::exit(0);
}

}  // namespace vexel
