#include "platform/keyboard.h"

#include <cstring>

namespace vexel::platform {

namespace {

struct KeyboardState {
    uint8_t live[kKeyCount] = {};
    uint8_t snapshot[kKeyCount] = {};
    bool focused = true;
};

KeyboardState& keyboard() {
    static KeyboardState state;
    return state;
}

}  // namespace

void keyboard_set_key(int32_t scan_code, bool down) {
    keyboard().live[scan_code & 0xFF] = down ? kKeyDownBit : 0;
}

void keyboard_release_all() {
    std::memset(keyboard().live, 0, kKeyCount);
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

void keyboard_refresh() {
    KeyboardState& state = keyboard();
    if (state.focused) std::memcpy(state.snapshot, state.live, kKeyCount);
}

bool keyboard_key_down(int32_t scan_code) {
    return (keyboard().snapshot[scan_code & 0xFF] & kKeyDownBit) != 0;
}

}  // namespace vexel::platform
