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

}  // namespace vexel::platform
