#include "engine3d/frame_choice.h"

#include <algorithm>
#include <cmath>

namespace vexel::engine3d {

namespace {

constexpr double kFurthestWeight = 1e6;

// Truncated towards zero; positions beyond the int range only ever get clamped.
int32_t truncated(double value) {
    if (!(value > -2147483648.0)) return INT32_MIN;
    if (!(value < 2147483647.0)) return INT32_MAX;
    return static_cast<int32_t>(value);
}

int32_t clamp_frame(int32_t index, int32_t frame_count) {
    return std::clamp(index, 0, std::max(frame_count - 1, 0));
}

int32_t next(int32_t i) {
    return i == INT32_MAX ? i : i + 1;
}

}  // namespace

FrameChoice choose_frames(int32_t frame_a, int32_t frame_b, double t, bool loop,
                          int32_t frame_count) {
    FrameChoice choice;
    if (!std::isfinite(t)) t = 0;
    if (!loop) {
        // Beyond the ends the frames are extrapolated, but never past what a float holds.
        t = std::clamp(t, -kFurthestWeight, kFurthestWeight);
        choice = FrameChoice{frame_b, frame_a, static_cast<float>(t)};
    } else {
        if (t < 0 || t > 1) t = std::fabs(std::fmod(t, 1.0));
        const double p = frame_a + (double(frame_b) - double(frame_a)) * t;
        const int32_t i = truncated(p);
        const double fraction = p - i;
        if (frame_a < frame_b) {
            choice = FrameChoice{i, next(i), static_cast<float>(1 - fraction)};
        } else if (frame_a > frame_b) {
            choice = FrameChoice{next(i), i, static_cast<float>(fraction)};
        } else {
            choice = FrameChoice{frame_a, frame_b, 0};
        }
    }
    choice.a = clamp_frame(choice.a, frame_count);
    choice.b = clamp_frame(choice.b, frame_count);
    // Weight 0 is frame B exactly; naming it frame A lets every later step draw A unblended.
    if (choice.weight == 0) choice.a = choice.b;
    return choice;
}

}  // namespace vexel::engine3d
