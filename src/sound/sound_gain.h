// Internal: how a play's volume and pan become the gains the mixer multiplies by. Both are kept in
// hundredths of a decibel first, so that scripts hear exactly the loudness steps they always did.
#pragma once

#include <cstdint>

namespace vexel {

// Hundredths of a decibel at which a sound is silent.
inline constexpr int32_t kSilentCentibels = -10000;
// Pan of a sound heard only on the right (its negation: only on the left).
inline constexpr int32_t kFullPan = 10000;

// volume 1 is full: times 100, clamped to 0 ... 100 and truncated to v; then -10000 when v < 1,
// else log10(v / 100) * 2000 truncated (50 gives -602, 10 gives -2000). NaN counts as 0.
int32_t volume_centibels(double volume);
// pan -1 (left) ... 1 (right), clamped, times 10000, truncated. NaN counts as 0 (centre).
int32_t pan_units(double pan);
// The amplitude factor 10^(centibels / 2000); exactly 0 at -10000 or below, 1 at 0 or above.
float centibel_amplitude(int32_t centibels);

struct StereoGain {
    float left = 1;
    float right = 1;
};
// The volume on both sides, and the pan's attenuation by |pan| on the far side only.
StereoGain stereo_gain(int32_t volume, int32_t pan);

}  // namespace vexel
