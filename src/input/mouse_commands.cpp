#include <algorithm>

#include <vexel/frame.h>
#include <vexel/input.h>

#include "app/frame_loop.h"
#include "input/input_state.h"
#include "input/orientation.h"
#include "platform/mouse.h"
#include "platform/opengl_duderedi.h"

namespace vexel {

namespace {

constexpr int32_t kPositionLimit = 1 << 24;
constexpr int32_t kWheelLimit = 1 << 30;

struct MouseRead {
    Point position;
    int32_t wheel_step = 0;
    uint8_t buttons = 0;
};

int32_t sign(int32_t value) {
    return (value > 0) - (value < 0);
}

// The device read: the absolute position while the pointer is shown, else the start moved by
// the motion since the last read; held within the window either way.
MouseRead read_mouse(Point start, bool pointer_visible) {
    const platform::MouseReading reading = platform::mouse_read();
    MouseRead read;
    read.position = pointer_visible ? Point{reading.x, reading.y}
                                    : Point{start.x + reading.dx, start.y + reading.dy};
    const ScreenFrame frame = screen_frame();
    read.position.x = std::clamp(read.position.x, 0, std::max(frame.width, 0));
    read.position.y = std::clamp(read.position.y, 0, std::max(frame.height, 0));
    read.wheel_step = sign(reading.wheel);
    read.buttons = reading.buttons;
    return read;
}

MouseRecord* current_record() {
    InputState* input = input_state();
    return input ? &input->mouse_records[static_cast<size_t>(input->current_mouse)] : nullptr;
}

int32_t held(uint8_t buttons, uint8_t bit) {
    return (buttons & bit) ? 1 : 0;
}

uint8_t buttons_now() {
    MouseRecord* record = current_record();
    return record ? sample_mouse(*record, false).buttons : 0;
}

// A window position in script coordinates, clamped to the screen.
Point clamped_position(int32_t window_x, int32_t window_y) {
    const ScreenFrame frame = screen_frame();
    const Point script =
        map_position({window_x, window_y}, frame.orientation, frame.width, frame.height);
    return {std::clamp(script.x, 0, std::max(frame.script_width() - 1, 0)),
            std::clamp(script.y, 0, std::max(frame.script_height() - 1, 0))};
}

bool can_wait() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return input_state() && gl && gl->window;
}

}  // namespace

MouseSample sample_mouse(MouseRecord& record, bool consume) {
    const InputState* input = input_state();
    const bool visible = input && input->pointer_visible;
    MouseSample sample;
    const MouseRead read = read_mouse(
        visible ? Point{record.last_x, record.last_y} : Point{record.x, record.y}, visible);
    if (!visible) {
        record.x = read.position.x;
        record.y = read.position.y;
    }
    sample.dx = read.position.x - record.last_x;
    sample.dy = read.position.y - record.last_y;
    sample.wheel = std::clamp(record.wheel + read.wheel_step, -kWheelLimit, kWheelLimit);
    sample.buttons = read.buttons;
    if (!consume) {
        record.wheel = sample.wheel;
        return sample;
    }
    record.last_x = read.position.x;
    record.last_y = read.position.y;
    if (visible) {
        record.x = read.position.x;
        record.y = read.position.y;
    }
    record.wheel = 0;
    return sample;
}

void mouse_state(int32_t& x, int32_t& y, int32_t& b1, int32_t& b2) {
    x = y = b1 = b2 = 0;
    InputState* input = input_state();
    MouseRecord* record = current_record();
    if (!record) return;
    const MouseSample sample = sample_mouse(*record, true);
    const Point script = clamped_position(record->last_x, record->last_y);
    x = script.x;
    y = script.y;
    const ScreenFrame frame = screen_frame();
    const Point window = unmap_position(script, frame.orientation, frame.width, frame.height);
    record->last_x = window.x;
    record->last_y = window.y;
    // The hidden pointer's own cursor stays where the reported position is.
    if (!input->pointer_visible) {
        record->x = window.x;
        record->y = window.y;
    }
    b1 = held(sample.buttons, platform::kMouseLeft);
    b2 = held(sample.buttons, platform::kMouseRight);
}

void peek_pointer(int32_t* x, int32_t* y, uint8_t* buttons) {
    *x = *y = 0;
    *buttons = 0;
    const InputState* input = input_state();
    MouseRecord* record = current_record();
    if (!record) return;
    const MouseSample sample = sample_mouse(*record, false);
    const Point script = input->pointer_visible ? clamped_position(record->last_x + sample.dx,
                                                                   record->last_y + sample.dy)
                                                : clamped_position(record->x, record->y);
    *x = script.x;
    *y = script.y;
    *buttons = sample.buttons;
}

void mouse_state(double& x, double& y, double& b1, double& b2) {
    int32_t ix = 0;
    int32_t iy = 0;
    int32_t ib1 = 0;
    int32_t ib2 = 0;
    mouse_state(ix, iy, ib1, ib2);
    x = ix;
    y = iy;
    b1 = ib1;
    b2 = ib2;
}

int32_t mouse_axis(int32_t n) {
    MouseRecord* record = current_record();
    if (!record || n < 0 || n > 5) return 0;
    const MouseSample sample = sample_mouse(*record, false);
    const Point motion = map_direction({sample.dx, sample.dy}, screen_frame().orientation);
    switch (n) {
        case 0:
            return motion.x;
        case 1:
            return motion.y;
        case 2:
            return sample.wheel;
        case 3:
            return held(sample.buttons, platform::kMouseLeft);
        case 4:
            return held(sample.buttons, platform::kMouseRight);
        default:
            return held(sample.buttons, platform::kMouseMiddle);
    }
}

void set_mouse_position(int32_t x, int32_t y) {
    MouseRecord* record = current_record();
    if (!record) return;
    const ScreenFrame frame = screen_frame();
    // Off-screen positions are kept, within a range no motion arithmetic can overflow.
    x = std::clamp(x, -kPositionLimit, kPositionLimit);
    y = std::clamp(y, -kPositionLimit, kPositionLimit);
    const Point window = unmap_position({x, y}, frame.orientation, frame.width, frame.height);
    record->x = record->last_x = window.x;
    record->y = record->last_y = window.y;
}

void show_system_pointer(int32_t on) {
    InputState* input = input_state();
    if (!input) return;
    const bool visible = on != 0;
    if (visible) {
        platform::cursor_set_relative(false);
        if (!input->pointer_visible) {
            const MouseRecord& record = *current_record();
            platform::NativeWindow* window =
                platform::opengl_duderedi() ? platform::opengl_duderedi()->window : nullptr;
            platform::cursor_place(window, record.last_x, record.last_y);
        }
        platform::cursor_show(true);
    } else {
        platform::cursor_set_relative(true);
    }
    input->pointer_visible = visible;
}

int32_t mouse_count() {
    return 1;
}

void select_mouse(int32_t) {
    if (InputState* input = input_state()) input->current_mouse = 0;
}

void wait_mouse() {
    const auto wait_while = [](bool pressed) {
        while (can_wait() && (buttons_now() != 0) == pressed) {
            count_waiting_turn();
            idle_wait();
        }
    };
    wait_while(true);
    wait_while(false);
    wait_while(true);
}

}  // namespace vexel
