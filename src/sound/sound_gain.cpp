#include "sound/sound_gain.h"

#include <algorithm>
#include <cmath>

namespace vexel {

int32_t volume_centibels(double volume) {
    if (std::isnan(volume)) return kSilentCentibels;
    const auto v = static_cast<int32_t>(std::clamp(volume * 100, 0.0, 100.0));
    if (v < 1) return kSilentCentibels;
    return static_cast<int32_t>(std::log10(v / 100.0) * 2000);
}

int32_t pan_units(double pan) {
    if (std::isnan(pan)) return 0;
    return static_cast<int32_t>(std::clamp(pan, -1.0, 1.0) * kFullPan);
}

float centibel_amplitude(int32_t centibels) {
    if (centibels <= kSilentCentibels) return 0;
    if (centibels >= 0) return 1;
    return static_cast<float>(std::pow(10.0, centibels / 2000.0));
}

StereoGain stereo_gain(int32_t volume, int32_t pan) {
    const float level = centibel_amplitude(volume);
    const float far_side = centibel_amplitude(-std::abs(pan));
    return {pan > 0 ? level * far_side : level, pan < 0 ? level * far_side : level};
}

}  // namespace vexel
