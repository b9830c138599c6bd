// The engine's keyboard device: 256 key states in DirectInput scan-code numbering (1 Escape,
// 2-11 the digits, 28 Enter, 56 left Alt, 57 Space, 62 F4, 200/203/205/208 arrows, ...), kept
// from key events so that injected events drive it exactly like a real keyboard.
#pragma once

#include <cstdint>

namespace vexel::platform {

constexpr int32_t kKeyCount = 256;
constexpr uint8_t kKeyDownBit = 0x80;

// The scan code of a back-end key code, or 0 when the key has none.
int32_t scan_code_from_native(int32_t native);
// The back-end key code of a scan code, or 0 when no key produces it.
int32_t native_from_scan_code(int32_t scan_code);

// Records a key going down or up (only the low 8 bits of the code count).
void keyboard_set_key(int32_t scan_code, bool down);
// Every key up, as when the device is released.
void keyboard_release_all();
// The device's live state: bit 7 of entry k set while key k is down.
const uint8_t* keyboard_device_state();

// Whether the engine window has the keyboard; the snapshot freezes while it has not.
void keyboard_set_focus(bool focused);
bool keyboard_has_focus();
// Copies the live state into the snapshot, only while the window has the keyboard.
void keyboard_refresh();
// True when the key was down at the last refresh (only the low 8 bits of the code count).
bool keyboard_key_down(int32_t scan_code);

}  // namespace vexel::platform
