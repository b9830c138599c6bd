#include "platform/keyboard.h"

#include <atomic>
#include <cstring>

namespace vexel::platform {

namespace {

struct KeyboardState {
    uint8_t live[kKeyCount] = {};
    uint8_t pressed_since_refresh[kKeyCount] = {};
    uint8_t snapshot[kKeyCount] = {};
    uint8_t hit_this_frame[kKeyCount] = {};
    // Focus changes may arrive on the thread that posts them.
    std::atomic<bool> focused{true};
};

KeyboardState& keyboard() {
    static KeyboardState state;
    return state;
}

}  // namespace

void keyboard_set_key(int32_t scan_code, bool down) {
    KeyboardState& state = keyboard();
    const int32_t key = scan_code & 0xFF;
    if (down && state.live[key] == 0) state.pressed_since_refresh[key] = 1;
    state.live[key] = down ? kKeyDownBit : 0;
}

void keyboard_release_all() {
    KeyboardState& state = keyboard();
    std::memset(state.live, 0, kKeyCount);
    std::memset(state.pressed_since_refresh, 0, kKeyCount);
    std::memset(state.hit_this_frame, 0, kKeyCount);
}

const uint8_t* keyboard_device_state() {
    return keyboard().live;
}

void keyboard_set_focus(bool focused) {
    keyboard().focused = focused;
}

bool keyboard_has_focus() {
    return keyboard().focused;
}

void keyboard_refresh(bool frame_start) {
    KeyboardState& state = keyboard();
    if (frame_start) std::memset(state.hit_this_frame, 0, kKeyCount);
    if (!state.focused) return;
    for (int32_t key = 0; key < kKeyCount; ++key) {
        const bool pressed = state.pressed_since_refresh[key] != 0;
        state.snapshot[key] = pressed ? kKeyDownBit : state.live[key];
        if (pressed) state.hit_this_frame[key] = 1;
        state.pressed_since_refresh[key] = 0;
    }
}

bool keyboard_key_down(int32_t scan_code) {
    return (keyboard().snapshot[scan_code & 0xFF] & kKeyDownBit) != 0;
}

bool keyboard_key_hit(int32_t scan_code) {
    return keyboard().hit_this_frame[scan_code & 0xFF] != 0;
}

}  // namespace vexel::platform
