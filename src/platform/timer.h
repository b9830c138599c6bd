// The engine's millisecond clock and the frame clock of the present step.
#pragma once

namespace vexel::platform {

// The three time stamps of the frame loop, in milliseconds of timer_ms.
struct FrameClock {
    double frame_time = 0;           // start of the current present
    double previous_frame_time = 0;  // start of the previous one
    double start_time = 0;           // end of start-up
};

FrameClock& frame_clock();

// Chooses the clock: the high-resolution counter, or with VEXEL_FIXED_FRAME_MS=ms a fixed
// clock that advances by exactly ms per present (0 keeps it still). Reads the variable each time.
void timer_init();
// True while the fixed clock of VEXEL_FIXED_FRAME_MS is in use.
bool timer_is_fixed();
// Moves the fixed clock on by one frame step; nothing with the real clock.
void timer_advance_frame();
// All three frame time stamps := timer_ms().
void stamp_frame_clock();
// Gives the core away for ms milliseconds (fractions count; nothing for 0 or less). The end is
// an absolute time, so a signal that interrupts the wait does not make it start over.
void nap_ms(double ms);

}  // namespace vexel::platform
