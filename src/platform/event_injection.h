// Synthetic window events, queued exactly as the system would deliver them. Used by tests and
// scripted input runs; the engine handles them at its next message pump.
#pragma once

#include <cstdint>

namespace vexel::platform {

void inject_focus_lost(uint32_t window_id);
void inject_focus_gained(uint32_t window_id);
void inject_close_request(uint32_t window_id);
// A key going down or up by scan code. A code no physical key produces (such as 129) reaches
// the keyboard state directly.
void inject_key(uint32_t window_id, int32_t scan_code, bool down);
// Characters typed (8-bit text).
void inject_text(uint32_t window_id, const char* text);
// The pointer at (x, y) of the client area after moving by (dx, dy).
void inject_mouse_move(uint32_t window_id, int32_t x, int32_t y, int32_t dx, int32_t dy);
// A mouse button (0 left, 1 right, 2 middle) going down or up; other numbers are ignored.
void inject_mouse_button(uint32_t window_id, int32_t button, bool down);
// The wheel turned by the given notches, positive away from the user.
void inject_wheel(uint32_t window_id, int32_t notches);

}  // namespace vexel::platform
