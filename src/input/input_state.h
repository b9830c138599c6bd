// Internal: the engine's input object and the operations the frame loop, start-up and shutdown
// drive it with. The commands games call are in <vexel/input.h>.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "input/input_script.h"
#include "platform/joystick.h"

namespace vexel {

constexpr int32_t kMaxJoysticks = 10;
constexpr size_t kJoystickNameSize = 522;
constexpr size_t kTypedCharLimit = 16;

// One mouse's sample point. x, y: the engine's cursor while the pointer is hidden; last_x,
// last_y: the position at the last consuming sample (the reported one); wheel: notch steps
// gathered by peeking samples since then.
struct MouseRecord {
    int32_t x = 0;
    int32_t y = 0;
    int32_t last_x = 100;
    int32_t last_y = 100;
    int32_t wheel = 0;
};

// What one sample gives, in window directions.
struct MouseSample {
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t wheel = 0;
    uint8_t buttons = 0;  // platform::kMouseLeft | kMouseRight | kMouseMiddle
};

class InputState {
public:
    InputState();

    std::vector<uint8_t> typed_chars;  // oldest first, at most kTypedCharLimit
    std::vector<MouseRecord> mouse_records;
    int32_t current_mouse = 0;
    bool devices_started = false;  // the controller system is running
    int32_t joystick_count = 0;
    std::array<std::array<char, kJoystickNameSize>, kMaxJoysticks> joystick_names{};
    // True: the system pointer is shown and the mouse is read as an absolute position; false:
    // hidden and read as relative motion.
    bool pointer_visible = false;
    int32_t key_queries = 0;   // key_state calls since the keyboard was last read
    InputScriptPlayer script;  // VEXEL_INPUT_SCRIPT, played one frame per present
};

// The engine's instance, or null before start-up and after shutdown.
InputState* input_state();
InputState& create_input_state();
void delete_input_state();

// Opens the devices once the window exists: text input, the mouse (hidden and relative when
// exclusive_mouse) and up to kMaxJoysticks controllers. False, with "No DX_Input\n" in the
// error log, when the controller system cannot start; keyboard and mouse work all the same.
bool init_input(bool exclusive_mouse);
// The cursor as start-up leaves it: hidden and relative when exclusive_mouse, else shown at the
// engine's mouse position.
void bind_mouse(bool exclusive_mouse);
// The pointer mode applied to the (possibly new) window again.
void rebind_mouse();
// Lets the mouse go, shows the pointer at the engine's mouse position, closes the devices.
void release_input();

// Reads the keyboard again (the state stays as it was while the window is not active).
void refresh_keyboard();
// The per-frame read: key-query counter 0, keyboard read, a consuming sample of every mouse.
void sample_input();
// At the start of each present: the input script's events of this frame go into the queue.
void play_input_script();

// Samples the mouse into the record; a consuming sample restarts motion and wheel counting.
MouseSample sample_mouse(MouseRecord& record, bool consume);
// The current mouse as a peeking sample finds it: the position in script coordinates, clamped
// to the screen, and the buttons held. All 0 without the input object.
void peek_pointer(int32_t* x, int32_t* y, uint8_t* buttons);

// The state of joystick n; the neutral state (axes 0, hats centred, no buttons) for numbers
// outside 0 ... joystick_count - 1.
platform::JoystickState read_joystick(int32_t n);
// Any button down, x, y or z beyond a tenth of the range, or the first hat pushed.
bool joystick_moved(int32_t n);
// The first hat as a turned direction: -1, 0 or 1 on each axis.
void hat_direction(uint32_t hat, int32_t* x, int32_t* y);
// The effect joystick_force plays: fx and fy clamped to -1 ... 1 (NaN as 0) give the direction
// and the magnitude (fx * fx + fy * fy) * 5000; the duration is held within 0 ... one day.
platform::ConstantForce constant_force(double duration_ms, double fx, double fy);

// The typed-character queue: push takes one 8-bit character (0 and control characters other
// than 8, 9, 10 and 13 are ignored, 13 becomes 10, the 17th waiting character is dropped); pop
// gives the oldest, or 0 when none waits.
void push_typed_char(int32_t c);
int32_t pop_typed_char();

}  // namespace vexel
