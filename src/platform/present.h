// The buffer swap with the frame limiter.
#pragma once

#include <cstdint>

#include <vexel/app.h>

namespace vexel::platform {

// Swaps, clears for the next frame and waits for the frame's time, pumping messages (with the
// hook) while it waits: it sleeps while more than 7 ms remain (waking 3 ms early), then pumps
// between naps of at most 0.5 ms until at most 1 ms remains. Without a window it only waits.
// frame is the frame loop's count of this present (from 1) for the captures of VEXEL_CAPTURE,
// taken before the swap; 0 for presents outside the frame loop. Always 1.
int32_t present_frame(ScriptFunction hook, int64_t frame = 0);
// The limiter's schedule step: the next frame time after a present at present_time.
double next_frame_after(double next_frame_time, double present_time, double ms_per_frame);

}  // namespace vexel::platform
