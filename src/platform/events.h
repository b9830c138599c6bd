// Event back end: the pending window events, turned into what the engine's window procedure
// handles. Internal to the engine; the SDL2 implementation is events_sdl.cpp.
#pragma once

#include <cstdint>

namespace vexel::platform {

enum class EventKind {
    kOther,         // anything the engine does not handle
    kFocusGained,   // the window became the active window
    kFocusLost,     // the window stopped being the active window
    kCloseRequest,  // the user asked to close the window
    kKeyDown,       // scan_code went down (also on auto-repeat); character set for Enter, Tab, ...
    kKeyUp,         // scan_code went up
    kText,          // characters typed, 8-bit, zero-terminated in text
    kMouseMove,     // the pointer is at (x, y) of the client area, moved by (dx, dy)
    kMouseButtonDown,  // button (0 left, 1 right, 2 middle) went down
    kMouseButtonUp,    // button went up
    kMouseWheel,       // the wheel turned by dy notches, positive away from the user
};

struct Event {
    EventKind kind = EventKind::kOther;
    uint32_t window_id = 0;  // 0 for events that belong to no window
    int32_t scan_code = 0;   // keyboard scan code (see keyboard.h)
    int32_t character = 0;   // control character a key down types (13 Enter, 8, 9, 27), else 0
    char text[32] = {};
    int32_t x = 0;  // pointer position in the client area
    int32_t y = 0;
    int32_t dx = 0;  // pointer motion, or wheel notches in dy
    int32_t dy = 0;
    int32_t button = 0;
};

// From here on the keyboard device follows key and focus events the moment they arrive from the
// system or are injected, before the pump hands them to the engine's window procedure, as a
// keyboard read beside the message queue would see them. video_init starts it, video_shutdown
// stops it.
void events_start();
void events_stop();
// Lets the back end collect what the system has delivered since the last call.
void events_collect();
// The oldest pending event without taking it out; false when none is pending.
bool event_peek(Event* event);
// Takes the oldest pending event out; false when none is pending.
bool event_take(Event* event);

}  // namespace vexel::platform
