// Vexel — the application frame: project settings, named script callbacks, pause state and the
// engine's start-up and shutdown.
#pragma once

#include <cstdint>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Project settings
//------------------------------------------------------------------------------------------------

// What a game states about itself before the engine starts.
struct ProjectSettings {
    int32_t width = 640;          // client width of the window, pixels
    int32_t height = 480;         // client height, pixels
    int32_t fullscreen = 0;       // start in full-screen mode
    int32_t debug_mode = 0;       // end_program writes its report; 3D draws debug geometry
    int32_t exclusive_mouse = 0;  // take the mouse exclusively, cursor hidden
    int32_t multisample = 0;      // samples asked for; 0 for none
    int32_t frame_rate = 60;      // frames per second limit of the present command
    // The window caption, with " <pause>" after it while paused. A game that sets none is
    // captioned "quorn.triangle.wall.VXM", the tile scene's name.
    DynString project_name{"quorn.triangle.wall.VXM"};
};

ProjectSettings& project_settings();  // the process-wide settings the engine starts with

//------------------------------------------------------------------------------------------------
// Named callbacks
//------------------------------------------------------------------------------------------------

using ScriptFunction = double (*)();

// One named game function the engine may call back; a table ends with a null function.
struct CallbackEntry {
    ScriptFunction function;
    const char* name;
};

void set_callback_table(const CallbackEntry* table);  // null: no callbacks
ScriptFunction find_callback(const char* name);       // first exact, case-sensitive match, or null
double call_by_name(const char* name);  // 1 when called, 0 when there is no such function

//------------------------------------------------------------------------------------------------
// Pause state
//------------------------------------------------------------------------------------------------

int32_t is_paused();               // 1 while the program is paused
int32_t get_autopause();           // 1 when focus loss pauses the program
void set_paused(int32_t flag);     // pause when flag and autopause are set, else resume
void set_autopause(int32_t flag);  // turning it off while paused resumes

//------------------------------------------------------------------------------------------------
// Life cycle
//------------------------------------------------------------------------------------------------

// Starts every engine subsystem in order, logging each step to the error log. show_command 0
// leaves the window hidden. Returns early, with nothing further started, when no window can be
// made.
void init_engine(int32_t show_command, const char* caption);
// Releases every engine subsystem in order; runs the game's "VXL_ON_QUIT" on its first call.
void shutdown_engine();
// Under a debugger only: "BP" and the number in hexadecimal to the debugger, the mouse let go,
// pause ended, input read afresh and the window brought back by the next present.
void debug_break(double number);

}  // namespace vexel
