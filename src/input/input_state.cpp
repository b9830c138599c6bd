#include "input/input_state.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include <vexel/error.h>

#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "platform/opengl_duderedi.h"
#include "platform/text_input.h"

namespace vexel {

namespace {

constexpr size_t kTypedCharGrowth = 128;
constexpr size_t kMouseRecordsAllocated = 4;

std::unique_ptr<InputState>& instance() {
    static std::unique_ptr<InputState> state;
    return state;
}

platform::NativeWindow* engine_window() {
    const platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    return gl ? gl->window : nullptr;
}

MouseRecord& current_record(InputState& input) {
    return input.mouse_records[static_cast<size_t>(input.current_mouse)];
}

void show_pointer_at_engine_position(InputState& input, bool from_hidden) {
    platform::cursor_set_relative(false);
    const MouseRecord& record = current_record(input);
    if (from_hidden) platform::cursor_place(engine_window(), record.last_x, record.last_y);
    platform::cursor_show(true);
}

void hide_pointer() {
    if (!platform::cursor_set_relative(true)) append_error_log("can't aquire mouse - first try\n");
}

void open_joysticks(InputState& input) {
    input.joystick_count = platform::joysticks_open(kMaxJoysticks);
    for (int32_t n = 0; n < input.joystick_count; ++n) {
        const std::string name = platform::joystick_device_name(n);
        auto& stored = input.joystick_names[static_cast<size_t>(n)];
        const size_t length = std::min(name.size(), stored.size() - 1);
        std::memcpy(stored.data(), name.data(), length);
        stored[length] = 0;
    }
}

}  // namespace

InputState::InputState() {
    typed_chars.reserve(kTypedCharGrowth);
    mouse_records.reserve(kMouseRecordsAllocated);
    mouse_records.emplace_back();
}

InputState* input_state() {
    return instance().get();
}

InputState& create_input_state() {
    instance() = std::make_unique<InputState>();
    return *instance();
}

void delete_input_state() {
    instance().reset();
}

bool init_input(bool exclusive_mouse) {
    InputState* input = input_state();
    if (!input) return false;
    input->devices_started = platform::joysticks_start();
    if (!input->devices_started) append_error_log("No DX_Input\n");

    MouseRecord& record = current_record(*input);
    platform::cursor_position(engine_window(), &record.x, &record.y);
    record.last_x = record.x;
    record.last_y = record.y;
    platform::mouse_set_position(record.x, record.y);
    platform::text_input_start();

    input->pointer_visible = false;
    if (exclusive_mouse) {
        hide_pointer();
    } else {
        show_pointer_at_engine_position(*input, true);
        input->pointer_visible = true;
    }
    if (input->devices_started) open_joysticks(*input);
    input->script.load(load_environment_input_script(), {record.x, record.y});
    return input->devices_started;
}

void play_input_script() {
    InputState* input = input_state();
    platform::NativeWindow* window = engine_window();
    if (input && window) input->script.play_frame(platform::window_id(window));
}

void bind_mouse(bool exclusive_mouse) {
    InputState* input = input_state();
    if (!input) return;
    if (exclusive_mouse) {
        hide_pointer();
    } else if (!input->pointer_visible) {
        show_pointer_at_engine_position(*input, true);
    }
    input->pointer_visible = !exclusive_mouse;
}

void rebind_mouse() {
    InputState* input = input_state();
    if (!input) return;
    if (input->pointer_visible) {
        show_pointer_at_engine_position(*input, false);
    } else {
        hide_pointer();
    }
}

void release_input() {
    InputState* input = input_state();
    if (!input) return;
    platform::cursor_set_relative(false);
    const MouseRecord& record = current_record(*input);
    platform::cursor_place(engine_window(), record.x, record.y);
    platform::cursor_show(true);
    platform::text_input_stop();
    platform::joysticks_stop();
    platform::keyboard_release_all();
    platform::mouse_reset();
    delete_input_state();
}

}  // namespace vexel
