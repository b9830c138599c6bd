// The engine's keyboard device: 256 key states in DirectInput scan-code numbering (the names are
// in <vexel/keys.h>), kept from key events as they arrive from the system, before the message
// pump handles them, so that injected events drive it exactly like a real keyboard and a read
// sees the keyboard as it is now.
#pragma once

#include <cstdint>

namespace vexel::platform {

constexpr int32_t kKeyCount = 256;
constexpr uint8_t kKeyDownBit = 0x80;

// The scan code of a back-end key code, or 0 when the key has none.
int32_t scan_code_from_native(int32_t native);
// The back-end key code of a scan code, or 0 when no key produces it.
int32_t native_from_scan_code(int32_t scan_code);

// Records a key going down or up (only the low 8 bits of the code count). A key going down
// that was up is remembered until the next refresh, so that a tap shorter than the time between
// two reads is not lost; auto-repeat of a held key is no new press.
void keyboard_set_key(int32_t scan_code, bool down);
// Every key up and every remembered press forgotten, as when the device is released.
void keyboard_release_all();
// The device's live state: bit 7 of entry k set while key k is down.
const uint8_t* keyboard_device_state();

// Whether the engine window has the keyboard; the snapshot freezes while it has not. Safe to
// call from any thread.
void keyboard_set_focus(bool focused);
bool keyboard_has_focus();
// The read of the device into the snapshot, only while the window has the keyboard: a key reads
// down when it is down now or went down since the previous refresh. frame_start marks the read
// of a new frame, from which the presses of keyboard_key_hit are counted afresh.
void keyboard_refresh(bool frame_start);
// True when the key was down at the last refresh (only the low 8 bits of the code count).
bool keyboard_key_down(int32_t scan_code);
// True when the key went down between the last frame-start refresh and the last refresh.
bool keyboard_key_hit(int32_t scan_code);

}  // namespace vexel::platform
