// The engine's mouse device: the pointer position, the motion and wheel notches since the last
// read and the three buttons, kept from mouse events so that injected events drive it exactly
// like a real mouse. The cursor functions are the back end's (mouse_sdl.cpp).
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace vexel::platform {

constexpr uint8_t kMouseLeft = 1;
constexpr uint8_t kMouseRight = 2;
constexpr uint8_t kMouseMiddle = 4;

struct MouseReading {
    int32_t x = 0;  // pointer position on the engine's screen (the game's pixels)
    int32_t y = 0;
    int32_t dx = 0;  // motion since the last read
    int32_t dy = 0;
    int32_t wheel = 0;    // notches since the last read, positive away from the user
    uint8_t buttons = 0;  // kMouseLeft | kMouseRight | kMouseMiddle while held
};

// What mouse events report, on the engine's screen (the message pump turns the window's
// positions into the game's pixels while letterboxed).
void mouse_moved(int32_t x, int32_t y, int32_t dx, int32_t dy);
void mouse_button_changed(int32_t button, bool down);  // 0 left, 1 right, 2 middle
void mouse_wheel_turned(int32_t notches);
// The device's state; motion and wheel start counting again from here.
MouseReading mouse_read();
// The pointer is at (x, y) without having moved (after the cursor was placed there).
void mouse_set_position(int32_t x, int32_t y);
// Buttons up, no motion pending: the device as it is when nothing touches it.
void mouse_reset();

// The system cursor: shown or hidden over the window.
void cursor_show(bool shown);
// Relative mode: the cursor hidden and held in the window, motion reported without bounds.
// False when the system cannot give it (the cursor is then only hidden).
bool cursor_set_relative(bool relative);
// Moves the system cursor to (x, y) of the engine's screen (the game's pixels, which the window
// shows scaled while letterboxed); the device follows.
void cursor_place(NativeWindow* window, int32_t x, int32_t y);
// Where the system cursor is, in the engine's screen coordinates (as cursor_place takes them).
void cursor_position(const NativeWindow* window, int32_t* x, int32_t* y);

}  // namespace vexel::platform
