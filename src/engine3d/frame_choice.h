// Internal: which two animation frames a draw blends and by how much.
#pragma once

#include <cstdint>

namespace vexel::engine3d {

// The drawn value of a field is b + (a - b) * weight, taken from the records of frames a and b.
struct FrameChoice {
    int32_t a = 0;
    int32_t b = 0;
    float weight = 0;
};

// Without loop, the result lies frame_a + (frame_b - frame_a) * t; with loop, t (folded into
// 0..1) runs over the whole range frame_a ... frame_b and picks the neighbouring pair around
// that position. Both indices are clamped to 0 ... frame_count - 1; with weight 0 both name
// frame B, the frame the blend formula then gives.
FrameChoice choose_frames(int32_t frame_a, int32_t frame_b, double t, bool loop,
                          int32_t frame_count);

}  // namespace vexel::engine3d
