#include "platform/timer.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>

#include <vexel/frame.h>

namespace vexel::platform {

namespace {

struct TimerState {
    bool use_performance_counter = false;
    Uint64 counter_frequency = 0;
    bool has_base = false;
    double timer_base = 0;
    bool fixed = false;
    double fixed_step = 0;
    double fixed_now = 0;
};

TimerState& timer() {
    static TimerState state;
    return state;
}

// Whole seconds and the remainder are scaled apart, so the reading never overflows however long
// the machine has been up.
double counter_ms(Uint64 counter, Uint64 frequency) {
    const Uint64 seconds = counter / frequency;
    const Uint64 rest = counter % frequency;
    return static_cast<double>(seconds) * 1000.0 +
           static_cast<double>(rest) * 1000.0 / static_cast<double>(frequency);
}

bool fixed_step_from_environment(double* step) {
    const char* text = std::getenv("VEXEL_FIXED_FRAME_MS");
    if (!text || !*text) return false;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(value) || value < 0) return false;
    *step = value;
    return true;
}

}  // namespace

FrameClock& frame_clock() {
    static FrameClock clock;
    return clock;
}

void timer_init() {
    TimerState& state = timer();
    state.use_performance_counter = false;
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    if (frequency > 0) {
        state.counter_frequency = frequency;
        state.use_performance_counter = true;
    }
    state.fixed = fixed_step_from_environment(&state.fixed_step);
}

bool timer_is_fixed() {
    return timer().fixed;
}

void timer_advance_frame() {
    TimerState& state = timer();
    if (state.fixed) state.fixed_now += state.fixed_step;
}

void stamp_frame_clock() {
    FrameClock& clock = frame_clock();
    clock.frame_time = clock.previous_frame_time = clock.start_time = timer_ms();
}

}  // namespace vexel::platform

namespace vexel {

double timer_ms() {
    platform::TimerState& state = platform::timer();
    if (state.fixed) return state.fixed_now;
    const double reading =
        state.use_performance_counter
            ? platform::counter_ms(SDL_GetPerformanceCounter(), state.counter_frequency)
            : static_cast<double>(SDL_GetTicks64());
    if (!state.has_base) {
        state.timer_base = reading;
        state.has_base = true;
    }
    return reading - state.timer_base;
}

double timer_since_start() {
    return timer_ms() - platform::frame_clock().start_time;
}

double get_frame_time() {
    const platform::FrameClock& clock = platform::frame_clock();
    const double elapsed = clock.frame_time - clock.previous_frame_time;
    return elapsed > 0 ? elapsed : 1;
}

}  // namespace vexel
