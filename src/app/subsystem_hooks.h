// The points where start-up, the frame loop and shutdown reach subsystems that join the engine
// one by one. Each hook does what the engine has so far; a subsystem that arrives fills its hook.
#pragma once

#include <cstdint>

namespace vexel::hooks {

//------------------------------------------------------------------------------------------------
// Start-up, in the order init_engine calls them
//------------------------------------------------------------------------------------------------

void install_render_hooks();                       // before the window: the 2D layer joins it
void seed_random_generator(int32_t seed);          // the random generator of the core
void publish_gl_lookup();                          // GL entry points for platform information
void create_3d_state();                            // the Duderedi3D object
void create_input_object();                        // the input object, no devices yet
void create_input_devices(bool exclusive_mouse);   // keyboard, mouse and joysticks
void clear_current_font();                         // current font := 0
void attach_input_window();                        // the input object learns the window
void init_archive_resolver(const char* exe_path);  // media appended to the executable
void init_font_slot_zero();                        // font 0: an empty font of 16 x 16 cells
void load_default_font();                          // "Media/smalfont.png" and its alternatives
void select_default_font();                        // font 0 becomes the current font
void show_arrow_cursor();                          // the standard arrow over the window
void bind_mouse(bool exclusive_mouse);             // cooperative level, cursor placement
void resolve_external_functions();                 // the script's external declarations
void start_sound();                                // the sound object and its 4096 slots

//------------------------------------------------------------------------------------------------
// Frame loop
//------------------------------------------------------------------------------------------------

// First thing of each present: the input script's events of this frame are queued.
void play_input_script();
// One per present: key-query counter := 0, keyboard refresh, a consuming sample of each mouse.
void sample_input();
void refresh_keyboard();          // the keyboard state read again
bool key_down(int32_t code);      // a key of the last keyboard read is down
void finish_shadow_pass();        // an open 3D shadow pass is closed
void music_loop_check();          // a looping piece restarts when it ends
void reset_frame_render_state();  // texture mipmapping variant 0, no shader

// The pointer as the idle wait compares it.
struct PointerSnapshot {
    int32_t x = 0;
    int32_t y = 0;
    bool left = false;
    bool right = false;
    bool operator==(const PointerSnapshot&) const = default;
};
PointerSnapshot read_pointer();  // position clamped to the screen, buttons
bool joystick_active();          // any button, axis beyond 0.1 or hat pushed

// After a screen mode change: the mouse's cooperative level and cursor set again, and input and
// sound given the (possibly new) window.
void rebind_to_window();
void release_input_for_debugger();  // the mouse device let go, input state reset and read again

//------------------------------------------------------------------------------------------------
// Shutdown, in the order shutdown_engine calls them
//------------------------------------------------------------------------------------------------

void stop_music();                         // the music window stopped and closed
void close_file_channels();                // every open file channel; stores written back
void close_engine_socket(int32_t socket);  // one socket of the socket layer
void shutdown_sockets();                   // socket library released (16 balances)
void release_input();                      // devices released, pointer shown
void release_sound();                      // the 4096 slots, then the sound object
void delete_3d_state();                    // the Duderedi3D object
void release_archive_states();             // both resolver states and their temp files

}  // namespace vexel::hooks
