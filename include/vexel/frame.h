// Vexel — the frame loop: presenting frames, frame timing, the pause loop and quitting keys.
#pragma once

#include <cstdint>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Timer
//------------------------------------------------------------------------------------------------

double timer_ms();           // milliseconds since the first reading (0 at the first call)
double timer_since_start();  // milliseconds since the engine finished starting
double get_frame_time();     // ms between the starts of the last two presents; never 0 (1 instead)

//------------------------------------------------------------------------------------------------
// Presenting
//------------------------------------------------------------------------------------------------

// The per-frame present: waits while paused, samples input, quits on Escape or Alt+F4, handles
// window messages, shows the frame, clears for the next one and keeps the frame rate.
void show_screen();
// Waits for input: returns on a key, mouse or joystick change, or after about 75 ms; holds
// while the program is paused.
void idle_wait();
// Frame rate limit in frames per second (truncated); 0 or less allows up to 500.
void limit_fps(double frames_per_second);

//------------------------------------------------------------------------------------------------
// Quitting keys
//------------------------------------------------------------------------------------------------

void set_escape_quits(double flag);  // 0: Escape no longer ends the program (Alt+F4 still does)
int32_t get_escape_quits();          // 1 while Escape ends the program

}  // namespace vexel
